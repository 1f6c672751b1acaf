#ifndef DAYPLEX_TESTS_SERIESANSWERS_H
#define DAYPLEX_TESTS_SERIESANSWERS_H

// Answers the views' question which occurrences of a series a change is for, as a user would:
// a click on the button with the given text, or rejecting the window (Escape, closing) when
// the text is empty. Keeps the questions' texts and buttons; puts the previous runner back.
#include <dayplex/modal.h>

#include <QAbstractButton>
#include <QDialog>
#include <QMessageBox>
#include <QStringList>

namespace Dayplex::Testing {

struct SeriesAnswers
{
    explicit SeriesAnswers(const QString &button)
        : previous(setModalRunner([this, button](QDialog &dialog) {
            auto *box = qobject_cast<QMessageBox *>(&dialog);
            if (!box || dialog.objectName() != QLatin1String(ModalWindow::SeriesQuestion)) {
                dialog.reject();
                return;
            }
            texts.append(box->text());
            QStringList captions;
            for (QAbstractButton *b : box->buttons())
                captions.append(b->text());
            buttons = captions;
            for (QAbstractButton *b : box->buttons()) {
                if (!button.isEmpty() && b->text() == button) {
                    b->click();
                    return;
                }
            }
            dialog.reject();
        }))
    {
    }
    ~SeriesAnswers() { setModalRunner(previous); }
    SeriesAnswers(const SeriesAnswers &) = delete;
    SeriesAnswers &operator=(const SeriesAnswers &) = delete;

    QStringList texts;
    QStringList buttons; // of the last question, in their order
    ModalRunner previous;
};

} // namespace Dayplex::Testing

#endif
