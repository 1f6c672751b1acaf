#ifndef DAYPLEX_TESTS_CALENDARWEEK_H
#define DAYPLEX_TESTS_CALENDARWEEK_H

// The computed calendar week the gesture and keyboard tables run on, without a window: 25 to 31
// March 2024 on 1000 x 700 pixels in characters of 8 x 16 (rows of 24 pixels, a band of two
// rows, the grid from 08:00 at y 77), a 30-minute raster, and five entries: A Monday
// 09:00-10:30, B Tuesday 10:15-11:00, R read-only Wednesday 13:00-14:00, T all day Tuesday, and
// the holiday "Karfreitag" on Friday.
#include "calendar/calendargesture.h"
#include "support/testing.h"

namespace Dayplex::Testing {

struct CalendarWeek
{
    static Date monday() { return day(2024, 3, 25); }

    AppointmentStore store;
    CellMatrix matrix;
    CalendarGrid grid;
    CalendarStyle style;
    Date selectionStart = 0, selectionEnd = 0;
    qint32 selected = 0;
    bool forPrinting = false;
    bool modern = false;
    Date today = 0;
    Date currentDate = 0; // the date worked on, for the week cell
    CalendarScene scene;
    CalendarGesture gesture;

    CalendarWeek()
    {
        const Date m = monday();
        grid.firstDay = m;
        grid.lastDay = m + 6;
        grid.setRaster(30 * kOneMinute);
        grid.firstTime = hm(8, 0);
        grid.dayInfoHeight = 2;
        matrix.rebuild(7, grid.lastRow + 1);
        add("A", m + hm(9, 0), m + hm(10, 30), false, false);
        add("B", m + 1 + hm(10, 15), m + 1 + hm(11, 0), false, false);
        add("R", m + 2 + hm(13, 0), m + 2 + hm(14, 0), false, true);
        add("T", m + 1, m + 1, true, false);
        store.add("9", "Karfreitag", m + 4, m + 4, true, 0, false, 0, true, true);
        paint();
    }

    void add(const char *dsn, Date from, Date to, bool allDay, bool readOnly)
    {
        store.add(dsn, dsn, from, to, allDay, 0, false, 0, readOnly, false);
    }

    void paint()
    {
        SceneInput in(store, matrix, grid, style);
        in.area = QRect(0, 0, 1000, 700);
        in.charWidth = 8;
        in.charHeight = 16;
        in.selectionStart = selectionStart;
        in.selectionEndSlot = selectionEnd;
        in.selectedIndex = selected;
        in.forPrinting = forPrinting;
        in.modern = modern;
        in.today = today;
        in.currentDate = currentDate;
        scene = computeCalendarScene(in);
    }

    GestureView view() const
    {
        GestureView v(scene, store, grid);
        v.selectionStart = selectionStart;
        v.selectionEnd = selectionEnd;
        v.selectedIndex = selected;
        v.surfaceWidth = 1000;
        v.surfaceHeight = 700;
        v.modern = modern;
        return v;
    }
};

} // namespace Dayplex::Testing

#endif // DAYPLEX_TESTS_CALENDARWEEK_H
