#include "shared/dispatchtables.h"

#include <QString>

#include <iterator>

namespace Dayplex {

namespace {

using K = Dispatch::Kind;

// The identifiers are fixed: hosts compiled against the original type libraries call by them.
constexpr DispatchRow kUcAgenda[] = {
    {0x40030006, "ForPrinting", K::PropertyGetPut},
    {0x60030013, "AddDate", K::Method},
    {0x68030012, "AlignOnWeekday", K::PropertyPut},
    {0x68030011, "backcolor", K::PropertyPut},
    {0x60030015, "Clear", K::Method},
    {0x68030010, "CurrentDate", K::PropertyGet},
    {0x60030016, "DateAbrunden", K::Method},
    {0x60030017, "DrawDragDrop", K::Method},
    {0x6003001A, "GetAnzahlTage", K::Method},
    {0x6003001C, "GetSpaltenIndex", K::Method},
    {0x6003001D, "GetTerminIndices", K::Method},
    {0x6003001E, "GetXTagesTermin", K::Method},
    {0x6003001F, "GetYErsteZeile", K::Method},
    {0x60030020, "GetZeilenIndex", K::Method},
    {0x6803000F, "HelpFile", K::PropertyPut},
    {0x60030021, "isLastRowVisible", K::Method},
    {0x60030022, "isSelectedReadOnly", K::Method},
    {0x60030023, "MousePointer", K::Method},
    {0x6003002E, "MaxLong", K::Method},
    {0x6003002F, "MinLong", K::Method},
    {0x60030032, "PrintAnsicht", K::Method},
    {0x60030033, "PrintCalendar", K::Method},
    {0x60030036, "Refresh", K::Method},
    {0x60030037, "Repaint", K::Method},
    {0x60030038, "Scroll", K::Method},
    {0x6003003C, "SelectedDateMove", K::Method},
    {0x6003003D, "SetFilledRange", K::Method},
    {0x6003003E, "SetDisplayedRange", K::Method},
    {0x6003003F, "ShowOptionsDialog", K::Method},
    {0x60030040, "SpaltenBelegen", K::Method},
    {0x60030041, "StopAutoScroll", K::Method},
    {0x6803000E, "TerminDSN", K::PropertyGet},
    {0x60030042, "ZellenBelegungEintragen", K::Method},
    {0x6803000D, "SelectionStart", K::PropertyGetPut},
    {0x6803000C, "SelectionEnd", K::PropertyGetPut},
    {0x6803000B, "FirstDay", K::PropertyGet},
    {0x6803000A, "LastDay", K::PropertyGet},
    {0x68030009, "TimeRaster", K::PropertyGetPut},
    {0x68030008, "DayInfoHeight", K::PropertyGetPut},
    {0x68030007, "FirstTime", K::PropertyGetPut},
    {0x68030006, "SelectedDate", K::PropertyGetPut},
    {0x68030005, "MinDateHeight", K::PropertyGetPut},
    {0x68030004, "ConfirmChanges", K::PropertyGetPut},
    {0x68030003, "Options", K::PropertyGetPut},
    {0x68030000, "Enabled", K::PropertyGetPut},
};

constexpr DispatchRow kUcAgendaEvents[] = {
    {1, "DateChanged", K::Event},    {2, "NeedDates", K::Event},
    {3, "NewDate", K::Event},        {4, "ChangeFilter", K::Event},
    {5, "ShowDate", K::Event},       {6, "OptionsChanged", K::Event},
    {7, "ShowImGantt", K::Event},
};

constexpr DispatchRow kCtlGantt[] = {
    {0x40030006, "mStartDate", K::PropertyGetPut},
    {0x40030007, "mEndDate", K::PropertyGetPut},
    {0x40030015, "ForPrinting", K::PropertyGetPut},
    {0x4003001E, "Enabled", K::PropertyGetPut},
    {0x60030009, "Clear", K::Method},
    {0x68030008, "ConfirmChanges", K::PropertyGet},
    {0x68030007, "CurrentDate", K::PropertyGet},
    {0x68030006, "FirstDay", K::PropertyGet},
    {0x6003000A, "FreienTerminSuchen", K::Method},
    {0x6003000E, "GetidxGanttEintrag", K::Method},
    {0x60030010, "GetMerkmalIndex", K::Method},
    {0x60030011, "Drag", K::Method},
    {0x60030012, "isIntervallSichtbar", K::Method},
    {0x68030005, "isSelectedReadOnly", K::PropertyGet},
    {0x60030013, "isTerminFrei", K::Method},
    {0x60030014, "isTerminFreiMerkmal", K::Method},
    {0x68030004, "LastDay", K::PropertyGet},
    {0x6003001A, "Refresh", K::Method},
    {0x6003001B, "Repaint", K::Method},
    {0x6003001C, "rundezeit", K::Method},
    {0x68030003, "SelectedDate", K::PropertyGetPut},
    {0x6003001E, "TerminVorSchlagEintragen", K::Method},
    {0x6003001F, "ZeilenFarbe", K::Method},
    {0x68030002, "AlignOnWeekday", K::PropertyPut},
    {0x6003003A, "MousePointer", K::Method},
    {0x68030001, "Options", K::PropertyGetPut},
    {0x6003003C, "ShowOptionsDialog", K::Method},
    {0x6003003D, "SelectedDateMove", K::Method},
    {0x60030041, "PrintAnsicht", K::Method},
    {0x60030042, "SetDisplayedRange", K::Method},
    {0x60030043, "SetFilledRange", K::Method},
    {0x60030044, "PrintGantt", K::Method},
    {0x60030046, "Scroll", K::Method},
    {0x6003004A, "AddDate", K::Method},
    {0x6003004B, "AddMerkmal", K::Method},
    {0x68030000, "OptimaleZeilenhoehe", K::PropertyGetPut},
};

constexpr DispatchRow kCtlGanttEvents[] = {
    {1, "DateChanged", K::Event},    {2, "NewDate", K::Event},
    {3, "ShowDate", K::Event},       {4, "OptionsChanged", K::Event},
    {5, "NeedDates", K::Event},      {6, "ChangeFilter", K::Event},
    {7, "ShowImCalendar", K::Event},
};

constexpr DispatchRow kCtlIntellimouse[] = {
    {0x68030000, "hwnd", K::PropertyPut},
};

constexpr DispatchRow kCtlIntellimouseEvents[] = {
    {1, "Wheel", K::Event},
};

template<std::size_t N>
constexpr DispatchTable table(const char *name, const DispatchRow (&rows)[N])
{
    return DispatchTable{name, rows, int(N)};
}

constexpr DispatchTable kTables[] = {
    table("_ucAgenda", kUcAgenda),
    table("__ucAgenda", kUcAgendaEvents),
    table("_ctlGantt", kCtlGantt),
    table("__ctlGantt", kCtlGanttEvents),
    table("_ctlIntellimouse", kCtlIntellimouse),
    table("__ctlIntellimouse", kCtlIntellimouseEvents),
};

} // namespace

const DispatchTable *dispatchTables(int *count)
{
    *count = int(std::size(kTables));
    return kTables;
}

const DispatchTable *findDispatchTable(QStringView interfaceName)
{
    for (const DispatchTable &t : kTables) {
        if (interfaceName.compare(QLatin1String(t.interfaceName), Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

} // namespace Dayplex
