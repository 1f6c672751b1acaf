#include "seriesscope.h"

#include <QCoreApplication>
#include <QHash>
#include <QMessageBox>
#include <QPushButton>

namespace Terminplaner {

std::optional<Dayplex::SeriesScope> askSeriesScope(QWidget *parent, const QString &title,
                                                   const QString &text, bool offerOnlyThis)
{
    using Dayplex::SeriesScope;
    const auto tr = [](const char *source) { return QCoreApplication::translate("SeriesScope", source); };
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QHash<QAbstractButton *, SeriesScope> scopes;
    if (offerOnlyThis)
        scopes.insert(box.addButton(tr("Nur diesen Termin"), QMessageBox::AcceptRole), SeriesScope::OnlyThis);
    scopes.insert(box.addButton(tr("Diesen und alle folgenden Termine"), QMessageBox::AcceptRole),
                  SeriesScope::ThisAndFollowing);
    scopes.insert(box.addButton(tr("Alle Termine der Serie"), QMessageBox::AcceptRole), SeriesScope::AllOfSeries);
    box.setEscapeButton(box.addButton(tr("Abbrechen"), QMessageBox::RejectRole));
    box.exec();
    const auto found = scopes.constFind(box.clickedButton());
    if (found == scopes.constEnd())
        return std::nullopt;
    return *found;
}

} // namespace Terminplaner
