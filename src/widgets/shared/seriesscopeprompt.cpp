#include "shared/seriesscopeprompt.h"

#include "shared/modalrunner.h"
#include "shared/serieschange.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace Dayplex {

std::optional<SeriesScope> askSeriesScope(const QString &appointmentText)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return std::nullopt;
    const SeriesScopeQuestion question = seriesScopeQuestion(appointmentText);
    QMessageBox box(QApplication::activeWindow());
    box.setObjectName(QLatin1String(ModalWindow::SeriesQuestion));
    box.setWindowTitle(QCoreApplication::applicationName().isEmpty()
                           ? QStringLiteral("Dayplex")
                           : QCoreApplication::applicationName());
    box.setIcon(QMessageBox::Question);
    box.setText(question.text);
    QList<QPushButton *> buttons;
    for (int i = 0; i < question.buttons.size(); ++i) {
        const bool cancel = i == question.buttons.size() - 1;
        buttons.append(box.addButton(question.buttons.at(i),
                                     cancel ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    }
    // Enter changes only the occurrence at hand, the smallest change.
    box.setDefaultButton(buttons.first());
    box.setEscapeButton(buttons.last());
    runModal(box);
    return seriesScopeOfAnswer(int(buttons.indexOf(qobject_cast<QPushButton *>(box.clickedButton()))));
}

} // namespace Dayplex
