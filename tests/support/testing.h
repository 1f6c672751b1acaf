#ifndef DAYPLEX_TESTING_H
#define DAYPLEX_TESTING_H

// Helpers every suite shares: dates written as on a calendar, the error number of a call, an
// answering prompt handler that puts the previous one back, and pictures kept for a look.
#include <dayplex/dates.h>
#include <dayplex/error.h>
#include <dayplex/modal.h>

#include <QDate>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace Dayplex::Testing {

inline Date day(int y, int m, int d) { return toDate(QDate(y, m, d)); }

inline Date hm(int h, int m) { return (h * 60 + m) / 1440.0; }

// A moment as the tables write it: weekday and time, "Mon 09:30".
inline QString when(Date d) { return toQDateTime(d).toString(QStringLiteral("ddd hh:mm")); }

// 0 when the call throws no Dayplex::Error.
inline int errorNumber(const std::function<void()> &call)
{
    try {
        call();
    } catch (const Error &error) {
        return error.number();
    }
    return 0;
}

// Saves the picture as NAME.png in the folder DAYPLEX_PICTURES names, if it names one.
inline void keepPicture(const QImage &image, const QString &name)
{
    const QString dir = qEnvironmentVariable("DAYPLEX_PICTURES");
    if (!dir.isEmpty())
        image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// The smallest rectangle around the pixels in which two pictures of one size differ; null when
// they are equal.
inline QRect changedArea(const QImage &a, const QImage &b)
{
    QRect changed;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    return changed;
}

// Answers every question with `yes` and keeps what was asked, while it lives.
struct PromptAnswers
{
    explicit PromptAnswers(bool yes = true)
        : yes(yes)
        , previous(setPromptHandler([this](const Prompt &prompt) {
            prompts.append(prompt);
            return this->yes;
        }))
    {
    }
    ~PromptAnswers() { setPromptHandler(previous); }

    // The texts of the questions (or of the messages) asked so far.
    QStringList texts(bool questions = true) const
    {
        QStringList list;
        for (const Prompt &prompt : prompts)
            if ((prompt.kind == Prompt::Kind::Question) == questions)
                list.append(prompt.text);
        return list;
    }
    PromptAnswers(const PromptAnswers &) = delete;
    PromptAnswers &operator=(const PromptAnswers &) = delete;

    bool yes;
    QList<Prompt> prompts;
    PromptHandler previous;
};

// The index (from 1) of the first appointment with this key in a model that counts its
// appointments with dateCount() and hands them out with date(i); 0 when there is none.
template <typename Model>
qint32 indexOfDsn(const Model &model, const QString &dsn)
{
    for (qint32 i = 1; i <= model.dateCount(); ++i) {
        if (model.date(i).dsn == dsn)
            return i;
    }
    return 0;
}

} // namespace Dayplex::Testing

#endif
