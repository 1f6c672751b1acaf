#include "print/printchoice.h"

#include "shared/uitext.h"

#include <cmath>

namespace Dayplex {

qint32 longestPrintPeriod(PrintSheet sheet)
{
    switch (sheet) {
    case PrintSheet::Day:
        return 31;
    case PrintSheet::Week:
    case PrintSheet::Resource:
        return 366;
    }
    return 1;
}

QString printPeriodError(const PrintChoice &choice)
{
    const double first = std::floor(choice.firstDay);
    const double last = std::floor(choice.lastDay);
    if (first <= 0 || last <= 0 || !std::isfinite(first) || !std::isfinite(last))
        return uiText("Dayplex::cCommonCalendar",
                      "Bitte geben Sie den ersten und den letzten Tag des Zeitraums an.");
    if (last < first)
        return uiText("Dayplex::cCommonCalendar",
                      "Der Zeitraum endet vor seinem Beginn. Bitte wählen Sie ein Ende am oder "
                      "nach dem ersten Tag.");
    const qint32 longest = longestPrintPeriod(choice.sheet);
    if (last - first + 1 > longest) {
        switch (choice.sheet) {
        case PrintSheet::Day:
            return uiText("Dayplex::cCommonCalendar",
                          "Tagespläne werden für höchstens %1 Tage gedruckt. Bitte wählen Sie "
                          "einen kürzeren Zeitraum oder Wochenpläne.")
                .arg(longest);
        case PrintSheet::Week:
        case PrintSheet::Resource:
            return uiText("Dayplex::cCommonCalendar",
                          "Der Zeitraum ist länger als ein Jahr. Bitte wählen Sie einen kürzeren "
                          "Zeitraum.");
        }
    }
    return QString();
}

QString printChoiceError(const PrintChoice &choice, bool resourceViewGiven)
{
    const QString period = printPeriodError(choice);
    if (period.isEmpty() && choice.sheet == PrintSheet::Resource && !resourceViewGiven)
        return uiText("Dayplex::cCommonCalendar", "Es gibt keine Ressourcenansicht, die gedruckt werden kann.");
    return period;
}

qint32 printPeriods(const PrintChoice &choice, Date weekStart)
{
    const double first = std::floor(choice.firstDay);
    const double last = std::max(std::floor(choice.lastDay), first);
    switch (choice.sheet) {
    case PrintSheet::Day:
        return qint32(last - first) + 1;
    case PrintSheet::Week:
        return qint32(std::floor((last - std::min(std::floor(weekStart), first)) / 7)) + 1;
    case PrintSheet::Resource:
        return 1;
    }
    return 1;
}

} // namespace Dayplex
