#ifndef DAYPLEX_TOOLBOX_H
#define DAYPLEX_TOOLBOX_H

#include <dayplex/dates.h>

#include <QString>

namespace Dayplex {

// The date, number, text and colour operations both views, their layouts and the print paging
// share. Pure functions without any window; the prompts and the busy pointer are cTools' in the
// widget layer.
class cToolbox
{
public:
    static Date DateOnly(Date value);
    static Date TimeOnly(Date value);
    static QString FormatDateText(Date value);
    static int WeekOfYear(Date value); // ISO 8601, the German calendar week
    static bool IntervalsOverlap(Date from1, Date to1, Date from2, Date to2);
    static bool DateInRange(Date from, Date to, Date d);
    static bool DateCompare(Date a, const QString &op, Date b);
    // DateCompare's "<" and ">=" without parsing an operator: within a millisecond is equal,
    // and NaN compares false.
    static bool dateBefore(Date a, Date b);
    static bool dateAtLeast(Date a, Date b);
    static bool IsOnRaster(Date moment, Date raster);
    static bool IsDayOff(Date value);
    static qint32 MaxLongValue(qint32 a, qint32 b);
    static double MinDouble(double a, double b);
    static bool RectsIntersect(qint32 left1, qint32 top1, qint32 right1, qint32 bottom1,
                               qint32 left2, qint32 top2, qint32 right2, qint32 bottom2);
    static qint16 HiWord(qint32 value);
    static qint16 LoWord(qint32 value);
    static Date NormalizeDate(Date value);
    static bool StartsWith(const QString &text, const QString &prefix);
    static void TrimTrailingDelimiter(QString &text, const QString &delimiter);
    static QString GetToken(const QString &text, const QString &delimiter, qint32 index);
    static void FilterNumericKey(qint16 &keyCode);
    static qint32 MmToPixelX(qint32 millimetres, int dotsPerInchX);
    static qint32 MmToPixelY(qint32 millimetres, int dotsPerInchY);
    static qint32 DefaultFreeTimeColor();
    static qint32 DefaultSelectionColor();
    static qint32 GridLineColor();
};

// Throws Dayplex::Error 5 "<member>: ungültiger Datumswert." unless the value is a valid date;
// a given argument name is added in brackets.
void requireValidDate(Date value, const char *member, const char *argument = nullptr);

} // namespace Dayplex

#endif
