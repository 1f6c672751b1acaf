// The Qt Quick items draw what the widgets draw: the same data gives the same scene, pixel for
// pixel, in the classic and the modern presentation.
#include "agendaitem.h"
#include "resourceviewitem.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/ucagenda.h>

#include <QApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTest>

using namespace Dayplex;

namespace {

// A week of March 2024 with overlapping, all-day and done appointments; far from today, so
// that neither view marks a current day.
struct Delivery
{
    const char *row; // of the resource view
    QString key;
    const char *memo;
    int day, fromMinute, toMinute;
    bool allDay;
    qint32 colour;
};

const Delivery kWeek[] = {
    {"AB", "A", "Teambesprechung", 0, 9 * 60, 11 * 60, false, 0xF0D0A0},
    {"MS", "B", "Kundentermin Müller", 0, 10 * 60, 12 * 60, false, 0xC0E0C0},
    {"AB", "C", "Mittagessen mit einem sehr langen Text, der nicht passt", 0, 11 * 60, 13 * 60, false, 0xA0E0FF},
    {"PW", "D", "Anruf Schmidt", 2, 10 * 60 + 10, 10 * 60 + 40, false, 0xE0E0A0},
    {"PW", "E", "Messe Hannover", 1, 0, 0, true, 0x80FFFF},
    {"MS", "F", "Urlaub Weber", 1, 0, 24 * 60, true, 0xFFC0C0},
};

const char *const kRows[][2] = {{"AB", "Anna Berger"}, {"MS", "Markus Schulz"}, {"PW", "Petra Wagner"}};

QColor colourOf(qint32 windowsColour)
{
    return QColor(qBlue(windowsColour), qGreen(windowsColour), qRed(windowsColour));
}

// The item made from QML, as a host makes it.
template<typename Item>
std::unique_ptr<QObject> madeInQml(QQmlEngine &engine, const char *type, Item **item)
{
    engine.addImportPath(QStringLiteral(DAYPLEX_QML_DIR));
    QQmlComponent component(&engine);
    component.setData(QByteArray("import Dayplex\n") + type + " {}", QUrl());
    std::unique_ptr<QObject> made(component.create());
    *item = qobject_cast<Item *>(made.get());
    if (!*item)
        qWarning("%s", qPrintable(component.errorString()));
    return made;
}

bool showsColour(const QImage &image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                return true;
    return false;
}

// DAYPLEX_SAVE_PICTURES names a folder for the items' pictures, to look at them.
void keepIfAsked(const QImage &picture, const char *view)
{
    const QString folder = qEnvironmentVariable("DAYPLEX_SAVE_PICTURES");
    if (!folder.isEmpty())
        picture.save(QStringLiteral("%1/%2-%3.png").arg(folder, QLatin1String(view),
                                                        QLatin1String(QTest::currentDataTag())));
}

Date monday()
{
    return toDate(QDateTime(QDate(2024, 3, 4), QTime(0, 0)));
}

template<typename Add>
void deliver(const Add &add)
{
    for (const Delivery &d : kWeek)
        add(d, monday() + d.day + d.fromMinute / 1440.0, monday() + d.day + d.toMinute / 1440.0);
}

} // namespace

class tst_QuickPicture : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void agendaLikeWidget_data();
    void agendaLikeWidget();
    void resourceViewLikeWidget_data();
    void resourceViewLikeWidget();
};

void tst_QuickPicture::agendaLikeWidget_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("modern");
    QTest::newRow("classic week") << 7 << QSize(900, 600) << false;
    QTest::newRow("classic day, narrow and low") << 1 << QSize(240, 180) << false;
    QTest::newRow("modern week") << 5 << QSize(800, 500) << true;
}

// A difference in how the item fills or lays out its core (options, raster, band rows, range)
// shows as pixels that differ from the widget's.
void tst_QuickPicture::agendaLikeWidget()
{
    QFETCH(int, days);
    QFETCH(QSize, size);
    QFETCH(bool, modern);

    ucAgenda widget;
    QObject::connect(&widget, &ucAgenda::NeedDates, &widget, [&](double first, double last) {
        widget.SetFilledRange(first, last);
        deliver([&](const Delivery &d, Date from, Date to) {
            widget.AddDate(d.key, QString::fromUtf8(d.memo), from, to, d.allDay, 0, false, d.colour, false);
        });
    });
    widget.Enabled = true;
    widget.setPresentation(modern ? Presentation::Modern : Presentation::Classic);
    double last = monday() + days - 1;
    widget.SetDisplayedRange(monday(), &last, false, true);

    QQmlEngine engine;
    AgendaItem *item = nullptr;
    const std::unique_ptr<QObject> made = madeInQml(engine, "AgendaItem", &item);
    QVERIFY(item);
    QObject::connect(item, &AgendaItem::needDates, item, [&](const QDateTime &first, const QDateTime &lastDay) {
        item->setFilledRange(first, lastDay);
        deliver([&](const Delivery &d, Date from, Date to) {
            item->addDate(d.key, QString::fromUtf8(d.memo), toQDateTime(from), toQDateTime(to),
                          d.allDay, QColor(), false, colourOf(d.colour));
        });
    });
    item->setModern(modern);
    item->setDisplayedRange(toQDateTime(monday()), toQDateTime(monday() + days - 1));

    const QImage expected = widget.paintToImage(size);
    const QImage actual = item->paintToImage(size);
    QVERIFY(!expected.isNull());
    // Both show the week's data, not two empty grids.
    QVERIFY(showsColour(expected, qRgb(0xA0, 0xD0, 0xF0)));
    keepIfAsked(actual, "agenda");
    QCOMPARE(actual.size(), expected.size());
    QCOMPARE(actual.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
}

void tst_QuickPicture::resourceViewLikeWidget_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("modern");
    QTest::newRow("classic week") << 7 << QSize(900, 300) << false;
    QTest::newRow("classic two days") << 2 << QSize(600, 200) << false;
    QTest::newRow("modern week") << 7 << QSize(900, 300) << true;
}

// As for the calendar: rows, bars, header and presentation of the item are the widget's.
void tst_QuickPicture::resourceViewLikeWidget()
{
    QFETCH(int, days);
    QFETCH(QSize, size);
    QFETCH(bool, modern);

    ctlGantt widget;
    QObject::connect(&widget, &ctlGantt::NeedDates, &widget, [&](double first, double last) {
        widget.SetFilledRange(first, last);
        for (const auto &row : kRows)
            widget.AddMerkmal(QString::fromUtf8(row[1]), QString::fromLatin1(row[0]));
        deliver([&](const Delivery &d, Date from, Date to) {
            widget.AddDate(d.key, QString::fromUtf8(d.memo), from, to, d.allDay, 0, false, d.colour,
                           false, QString::fromLatin1(d.row), false);
        });
    });
    widget.Enabled = true;
    widget.setPresentation(modern ? Presentation::Modern : Presentation::Classic);
    double last = monday() + days - 1;
    widget.SetDisplayedRange(monday(), &last, false, true);

    QQmlEngine engine;
    ResourceViewItem *item = nullptr;
    const std::unique_ptr<QObject> made = madeInQml(engine, "ResourceViewItem", &item);
    QVERIFY(item);
    QObject::connect(item, &ResourceViewItem::needDates, item, [&](const QDateTime &first, const QDateTime &lastDay) {
        item->setFilledRange(first, lastDay);
        for (const auto &row : kRows)
            item->addMerkmal(QString::fromUtf8(row[1]), QString::fromLatin1(row[0]));
        deliver([&](const Delivery &d, Date from, Date to) {
            item->addDate(d.key, QString::fromUtf8(d.memo), toQDateTime(from), toQDateTime(to),
                          QString::fromLatin1(d.row), d.allDay, QColor(), false, colourOf(d.colour));
        });
    });
    item->setModern(modern);
    item->setDisplayedRange(toQDateTime(monday()), toQDateTime(monday() + days - 1));

    const QImage expected = widget.paintToImage(size);
    const QImage actual = item->paintToImage(size);
    QVERIFY(showsColour(expected, qRgb(0xA0, 0xD0, 0xF0)));
    keepIfAsked(actual, "resourceview");
    QCOMPARE(actual.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(tst_QuickPicture)
#include "tst_quickpicture.moc"
