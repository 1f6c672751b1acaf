#ifndef DAYPLEX_CTOOLS_H
#define DAYPLEX_CTOOLS_H

#include <dayplex/dates.h>
#include <dayplex/modal.h>

#include <QString>
#include <functional>

class QWidget;

namespace Dayplex {

// The toolbox of date, number, text, colour and prompt operations the views and dialogs use.
// Stateless apart from the busy pointer. Every modal question goes through one replaceable
// prompt handler, so that tests answer it without a window.
class cTools
{
public:
    using PromptHandler = Dayplex::PromptHandler;

    cTools() = default;
    // A copy starts idle: the busy pointer belongs to the object that showed it.
    cTools(const cTools &) {}
    cTools &operator=(const cTools &) { return *this; }

    static Date DateOnly(Date value);
    static Date TimeOnly(Date value);
    static QString FormatDateText(Date value);
    static int WeekOfYear(Date value); // ISO 8601, the German calendar week
    static bool IntervalsOverlap(Date from1, Date to1, Date from2, Date to2);
    static bool DateInRange(Date from, Date to, Date d);
    static bool DateCompare(Date a, const QString &op, Date b);
    static bool IsOnRaster(Date moment, Date raster);
    static bool IsDayOff(Date value);
    static qint32 MaxLongValue(qint32 a, qint32 b);
    static double MinDouble(double a, double b);
    static bool RectsIntersect(qint32 left1, qint32 top1, qint32 right1, qint32 bottom1,
                               qint32 left2, qint32 top2, qint32 right2, qint32 bottom2);
    static qint16 HiWord(qint32 value);
    static qint16 LoWord(qint32 value);
    static Date NormalizeDate(Date value);
    static QString GetTag(const QWidget *control);
    static bool StartsWith(const QString &text, const QString &prefix);
    static void EnableContainer(QWidget *frame, bool enable);
    static void TrimTrailingDelimiter(QString &text, const QString &delimiter);
    static QString GetToken(const QString &text, const QString &delimiter, qint32 index);
    static void FilterNumericKey(qint16 &keyCode);
    static qint32 MmToPixelX(qint32 millimetres, int dotsPerInchX);
    static qint32 MmToPixelY(qint32 millimetres, int dotsPerInchY);
    static qint32 DefaultFreeTimeColor();
    static qint32 DefaultSelectionColor();
    static qint32 GridLineColor();

    // Busy pointer: true shows it until false is written.
    void WaitCursor(bool busy);
    bool isWaitCursor() const { return m_waitCursor; }
    // True when the user asked to stop a running operation (Escape pressed meanwhile).
    bool AbortRequested();

    static bool Confirm(const QString &message, bool defaultYes = true);
    // An empty title is replaced by the application's name.
    static void Message(const QString &message, Prompt::Kind kind = Prompt::Kind::Information,
                        const QString &title = QString());

    // Replaces the handler that answers every question and message; an empty handler restores
    // the default, a QMessageBox run through the modal runner. Returns the handler in force
    // before.
    static PromptHandler setPromptHandler(PromptHandler handler);

    ~cTools();

private:
    bool m_waitCursor = false;
    bool m_cursorShown = false; // whether this object pushed the override cursor
};

} // namespace Dayplex

#endif
