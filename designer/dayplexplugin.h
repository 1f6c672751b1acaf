#ifndef DAYPLEX_DESIGNER_DAYPLEXPLUGIN_H
#define DAYPLEX_DESIGNER_DAYPLEXPLUGIN_H

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QIcon>
#include <QObject>
#include <QString>
#include <functional>

namespace DayplexDesigner {

// One control in Designer's widget box. Both controls differ only in their texts, icon and
// constructor, so one class describes either.
class WidgetPlugin : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    struct Description
    {
        QString className;   // with its namespace, as uic writes it into the generated code
        QString objectName;  // of a new instance on the form
        QString includeFile;
        QString toolTip;
        QString whatsThis;
        QString iconPath;
        std::function<QWidget *(QWidget *parent)> create;
    };

    WidgetPlugin(Description description, QObject *parent);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget *createWidget(QWidget *parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface *core) override;
    QString domXml() const override;

private:
    Description m_description;
    bool m_initialized = false;
};

// The plugin Designer loads: ucAgenda and ctlGantt in the group "Dayplex".
class Collection : public QObject, public QDesignerCustomWidgetCollectionInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit Collection(QObject *parent = nullptr);
    QList<QDesignerCustomWidgetInterface *> customWidgets() const override;

private:
    QList<QDesignerCustomWidgetInterface *> m_widgets;
};

} // namespace DayplexDesigner

#endif
