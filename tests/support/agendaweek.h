#ifndef DAYPLEX_TESTS_AGENDAWEEK_H
#define DAYPLEX_TESTS_AGENDAWEEK_H

// A calendar control on the week of 25 March 2024 (Easter week: Good Friday on the 29th), with
// a host that delivers A Monday 09:00-11:00, B 10:00-12:00 and C 11:00-13:00 side by side, D
// Tuesday 14:00-15:30, E Wednesday 10:10-10:40, H Thursday 13:00-14:00, and all day F Tuesday
// to Wednesday and G Tuesday. Record indices follow the holidays of 2024 (nine), so A is
// record 10. Mouse events go to its surface at points of the hit regions of its last paint.
#include "calendar/ucagenda_p.h"
#include "support/testing.h"

#include <dayplex/ucagenda.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace Dayplex::Testing {

struct AgendaWeek
{
    static Date monday() { return day(2024, 3, 25); }

    ucAgenda agenda;
    ucAgendaPrivate *d = ucAgendaPrivate::get(&agenda);
    QWidget *pic = agenda.findChild<QWidget *>(QStringLiteral("pic"));

    explicit AgendaWeek(int days = 7, Date first = monday())
    {
        const auto deliver = [this](double from, double to, const QString &) {
            agenda.SetFilledRange(from, to);
            const Date m = monday();
            add("A", "Teambesprechung", m + hm(9, 0), m + hm(11, 0), 0xF0D0A0);
            add("B", "Kundentermin Müller", m + hm(10, 0), m + hm(12, 0), 0xC0E0C0);
            add("C", "Mittagessen", m + hm(11, 0), m + hm(13, 0), 0xA0E0FF);
            agenda.AddDate("D", "Angebot verschickt", m + 1 + hm(14, 0), m + 1 + hm(15, 30), false,
                           0, true, 0xC0C0FF, false);
            add("E", "Anruf Schmidt", m + 2 + hm(10, 10), m + 2 + hm(10, 40), 0xE0E0A0);
            add("F", "Messe Hannover", m + 1, m + 2, 0x80FFFF, true);
            add("G", "Urlaub Weber", m + 1, m + 1, 0xFFC0C0, true);
            add("H", "Projekt-Review", m + 3 + hm(13, 0), m + 3 + hm(14, 0), 0xD0D0D0);
        };
        QObject::connect(&agenda, &ucAgenda::NeedDates, &agenda, deliver);
        agenda.Enabled = true;
        agenda.setAlignOnWeekday(2);
        double last = first + days - 1;
        agenda.SetDisplayedRange(first, &last, false, true);
    }

    void add(const char *dsn, const char *memo, Date from, Date to, qint32 colour,
             bool allDay = false, qint32 textColour = 0)
    {
        agenda.AddDate(QString::fromLatin1(dsn), QString::fromUtf8(memo), from, to, allDay,
                       textColour, false, colour, false);
    }

    // The first region of a kind that belongs to a record, or else stands for a moment.
    HitRegion region(qint32 type, Date moment, qint32 index = 0) const
    {
        for (const HitRegion &r : d->core.scene.hits.all())
            if (r.lngTyp == type
                && (index ? r.lngIdx == index : std::abs(r.datVon - moment) < 1e-7))
                return r;
        return {};
    }

    // Its centre; (-1, -1) when there is none.
    QPointF centre(qint32 type, Date moment, qint32 index = 0) const
    {
        const HitRegion r = region(type, moment, index);
        return r.lngTyp ? QPointF(r.lngLeft + r.lngWidth / 2.0, r.lngTop + r.lngHeight / 2.0)
                        : QPointF(-1, -1);
    }

    bool shown()
    {
        agenda.resize(1000, 800);
        agenda.show();
        return QTest::qWaitForWindowExposed(&agenda);
    }
    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, pic->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(pic, &event);
    }
    void press(QPointF at) { send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void drag(QPointF at) { send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
    void release(QPointF at) { send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
};

} // namespace Dayplex::Testing

#endif
