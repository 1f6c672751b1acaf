#ifndef DAYPLEX_TESTS_SERIESANSWERS_H
#define DAYPLEX_TESTS_SERIESANSWERS_H

// Answers the views' question which occurrences of a series a change is for, as a user would:
// a click on the button with the given text, or Escape (reject) for any other text. Keeps the
// questions and the buttons of the last one, sorted; puts the previous runner back.
#include <dayplex/modal.h>

#include <QAbstractButton>
#include <QMessageBox>

namespace Dayplex::Testing {

struct SeriesAnswers
{
    explicit SeriesAnswers(const QString &button)
        : previous(setModalRunner([this, button](QDialog &dialog) {
            auto *box = qobject_cast<QMessageBox *>(&dialog);
            const QList<QAbstractButton *> all = box ? box->buttons() : QList<QAbstractButton *>();
            texts.append(dialog.objectName() + QLatin1Char(' ') + (box ? box->text() : QString()));
            buttons.clear();
            QAbstractButton *chosen = nullptr;
            for (QAbstractButton *b : all) {
                buttons.append(b->text());
                chosen = b->text() == button ? b : chosen;
            }
            buttons.sort();
            if (chosen)
                chosen->click();
            else
                dialog.reject();
        }))
    {
    }
    ~SeriesAnswers() { setModalRunner(previous); }

    QStringList texts; // "dlgSeriesScope „...“ ist ein Serientermin. ..."
    QStringList buttons;
    ModalRunner previous;
};

} // namespace Dayplex::Testing

#endif
