#include "dayplexplugin.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/ucagenda.h>

#include <QStringLiteral>

namespace DayplexDesigner {

WidgetPlugin::WidgetPlugin(Description description, QObject *parent)
    : QObject(parent), m_description(std::move(description))
{
}

QString WidgetPlugin::name() const { return m_description.className; }
QString WidgetPlugin::group() const { return QStringLiteral("Dayplex"); }
QString WidgetPlugin::toolTip() const { return m_description.toolTip; }
QString WidgetPlugin::whatsThis() const { return m_description.whatsThis; }
QString WidgetPlugin::includeFile() const { return m_description.includeFile; }
QIcon WidgetPlugin::icon() const { return QIcon(m_description.iconPath); }
bool WidgetPlugin::isContainer() const { return false; }
bool WidgetPlugin::isInitialized() const { return m_initialized; }

void WidgetPlugin::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

QWidget *WidgetPlugin::createWidget(QWidget *parent)
{
    // Enabled stays false, so the control on the form never asks for appointments.
    return m_description.create(parent);
}

QString WidgetPlugin::domXml() const
{
    // The size hint would make a new control fill half a form; this is a handy start.
    return QStringLiteral("<ui language=\"c++\">\n"
                          " <widget class=\"%1\" name=\"%2\">\n"
                          "  <property name=\"geometry\">\n"
                          "   <rect><x>0</x><y>0</y><width>480</width><height>320</height></rect>\n"
                          "  </property>\n"
                          " </widget>\n"
                          "</ui>\n")
        .arg(m_description.className, m_description.objectName);
}

Collection::Collection(QObject *parent) : QObject(parent)
{
    m_widgets.append(new WidgetPlugin(
        {QStringLiteral("Dayplex::ucAgenda"), QStringLiteral("agenda"),
         QStringLiteral("dayplex/ucagenda.h"), QStringLiteral("Kalender mit Zeitraster"),
         QStringLiteral("The calendar: one to fourteen day columns over a time raster with an "
                        "all-day band; the host delivers the appointments on NeedDates."),
         QStringLiteral(":/dayplex/designer/ucagenda.png"),
         [](QWidget *parent) { return new Dayplex::ucAgenda(parent); }},
        this));
    m_widgets.append(new WidgetPlugin(
        {QStringLiteral("Dayplex::ctlGantt"), QStringLiteral("gantt"),
         QStringLiteral("dayplex/ctlgantt.h"), QStringLiteral("Ressourcenansicht"),
         QStringLiteral("The resource view: one row per participant, appointments as bars, and "
                        "the search for a slot in which all chosen participants are free."),
         QStringLiteral(":/dayplex/designer/ctlgantt.png"),
         [](QWidget *parent) { return new Dayplex::ctlGantt(parent); }},
        this));
}

QList<QDesignerCustomWidgetInterface *> Collection::customWidgets() const
{
    return m_widgets;
}

} // namespace DayplexDesigner
