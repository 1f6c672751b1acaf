// Every public member of the three controls, called late-bound as a host calls it: each one
// bound in its dispatch table, results, in/out arguments and events carried both ways, and
// hostile arguments ending in an error or a repair. The sweep's calls are generated from the
// dispatch tables and the controls' signatures, so that a member added to a table is covered
// without touching this file.
#include "calendar/ucagenda_p.h"
#include "dialogs/cprintdialog.h"
#include "dialogs/modaldialog.h"
#include "gantt/ctlgantt_p.h"
#include "shared/clock.h"
#include "support/testing.h"
#include "support/testmain.h"

#include <dayplex/dayplex.h>

#include <QDialog>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPainter>
#include <QtTest>

#include <functional>
#include <limits>
#include <memory>

using namespace Dayplex;
using namespace Dayplex::Testing;
using Call = Dispatch::Call;

namespace {

const double kWed = day(2024, 3, 6);
const double kHour = 1.0 / 24;

const QMetaObject *const kControls[] = {&ucAgenda::staticMetaObject, &ctlGantt::staticMetaObject,
                                        &ctlIntellimouse::staticMetaObject};

// The Qt-style members beside the classic interface, which late-bound hosts do not know.
bool beyondClassic(const QMetaMethod &m)
{
    static const QByteArrayList names{"seriesDateChanged", "newAppointmentRequested",
                                      "deleteRequested", "contextMenuAboutToShow"};
    return names.contains(m.name());
}

// "_ucAgenda" for the members of ucAgenda, "__ucAgenda" for its events.
QString interfaceOf(const QMetaObject *meta, bool events = false)
{
    return (events ? "__" : "_") + QString::fromLatin1(meta->className()).section("::", -1);
}

struct BadValue
{
    const char *tag;
    QVariant value;
};

// One value per way a value can hurt; each row builds and paints a view, so more values of the
// same kind would only cost time. The last one is never a number, flag or date.
const QVector<BadValue> &badValues()
{
    static const QVector<BadValue> values{
        {"NaN", std::numeric_limits<double>::quiet_NaN()},
        {"+infinity", std::numeric_limits<double>::infinity()},
        {"day after 9999-12-31", kMaxDate + 1},
        {"0", 0},
        {"INT_MAX", std::numeric_limits<qint32>::max()},
        {"2^40", qint64(1) << 40},
        {"text with NUL and line breaks", QString::fromUtf16(u"a\0b\nc\r|", 7)},
        {"empty variant", QVariant()},
        {"QStringList", QStringList{"1", "2"}},
    };
    return values;
}

bool isNumeric(QMetaType type)
{
    static const QByteArrayList numbers{"double", "int", "bool", "qulonglong", "double*", "int*"};
    return numbers.contains(type.name());
}

// The parameter types a call passes: a property's value, or those of the setter or method of
// that name with the most parameters.
QVector<QMetaType> parametersOf(const QMetaObject *meta, const QString &member, Call call)
{
    QByteArray name = member.toLatin1();
    if (call == Call::PropertyGet)
        return {};
    if (call == Call::PropertyPut) {
        const QMetaProperty property = meta->property(meta->indexOfProperty(name.constData()));
        if (property.isWritable())
            return {property.metaType()};
        name = "set" + name.left(1).toUpper() + name.mid(1);
    }
    QMetaMethod method;
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        if (m.access() == QMetaMethod::Public && m.methodType() != QMetaMethod::Signal
            && m.name() == name && m.parameterCount() >= method.parameterCount())
            method = m;
    }
    QVector<QMetaType> types;
    for (int i = 0; i < method.parameterCount(); ++i)
        types.append(method.parameterMetaType(i));
    return types;
}

QVector<Call> callsOf(Dispatch::Kind kind)
{
    switch (kind) {
    case Dispatch::Kind::Method: return {Call::Method};
    case Dispatch::Kind::PropertyGet: return {Call::PropertyGet};
    case Dispatch::Kind::PropertyPut: return {Call::PropertyPut};
    case Dispatch::Kind::PropertyGetPut: return {Call::PropertyGet, Call::PropertyPut};
    case Dispatch::Kind::Event: return {};
    }
    return {};
}

// The calendar with three appointments on the displayed Wednesday to Friday, "K1" selected; the
// Gantt view with two participants and their bars in a week from Wednesday, "B1" selected.
std::unique_ptr<QWidget> makeControl(const QString &interfaceName)
{
    std::unique_ptr<QWidget> control;
    if (interfaceName == "_ucAgenda") {
        auto agenda = std::make_unique<ucAgenda>();
        agenda->setAlignOnWeekday(2);
        double last = kWed + 2;
        agenda->SetDisplayedRange(kWed, &last, false, false);
        agenda->AddDate("K1", "Besprechung", kWed + 1 + 9 * kHour, kWed + 1 + 10.5 * kHour, false,
                        0, false, 0x99FFFF, false);
        agenda->AddDate("K2", "Messe", kWed, kWed + 1, true, 0, false, 0xFFCC99, false);
        agenda->AddDate("K3", "gesperrt", kWed + 2 + 8 * kHour, kWed + 2 + 12 * kHour, false, 0,
                        false, 0xCCCCCC, true);
        agenda->setSelectedDate("K1");
        control = std::move(agenda);
    } else if (interfaceName == "_ctlGantt") {
        auto gantt = std::make_unique<ctlGantt>();
        double last = kWed + 6;
        gantt->SetDisplayedRange(kWed, &last, false, false);
        gantt->AddMerkmal("Anna", "M1");
        gantt->AddMerkmal("Bert", "M2");
        gantt->AddDate("B1", "Montage", kWed + 1 + 9 * kHour, kWed + 1 + 15 * kHour, false, 0,
                       false, 0x99FFFF, false, "M1", false);
        gantt->AddDate("B2", "Urlaub", kWed + 2, kWed + 4, true, 0, false, 0xFFCC99, false, "M2",
                       false);
        gantt->AddDate("B3", "gesperrt", kWed + 3 + 8 * kHour, kWed + 3 + 12 * kHour, false, 0,
                       false, 0xCCCCCC, true, "M1", false);
        gantt->setSelectedDate("B1");
        control = std::move(gantt);
    } else {
        control = std::make_unique<ctlIntellimouse>();
    }
    control->resize(200, 150);
    return control;
}

// Arguments the member accepts, where the plain value of each type would be refused or would
// not reach the member's own work (an unknown row, an empty interval, a picture of one pixel).
QVariantList validArguments(const QString &key, const QVector<QMetaType> &types, QPainter *painter)
{
    const QVariant page = QVariant::fromValue(painter);
    static const QHash<QString, QVariantList> table = {
        {"_ucAgenda.AddDate",
         {"N1", "neu", kWed + 14 * kHour, kWed + 15 * kHour, false, 0, false, 0xFFFFFF, false,
          false}},
        {"_ucAgenda.DateAbrunden", {kWed + 9.3 * kHour, 0.25 * kHour}},
        {"_ucAgenda.GetTerminIndices", {kWed + 9 * kHour, kWed + 10 * kHour, 0, 0, 0, 0, 1}},
        {"_ucAgenda.PrintAnsicht", {page, 0, 0, 400, 300}},
        {"_ucAgenda.SelectedDateMove", {kWed + 2 + 9 * kHour, 1}},
        {"_ucAgenda.SetFilledRange", {kWed, kWed + 2}},
        {"_ucAgenda.SetDisplayedRange", {kWed, kWed + 2, false, true}},
        {"_ucAgenda.SpaltenBelegen", {0, 18, 20, "S1"}},
        {"_ucAgenda.ZellenBelegungEintragen", {0, 1, 18, 20, "S1"}},
        {"_ucAgenda.TimeRaster=", {15.0 / 1440}},
        {"_ucAgenda.FirstTime=", {7 * kHour}},
        {"_ucAgenda.Options=", {"cContainer 1\nblnConfirmChanges:b=0\n"}},
        {"_ctlGantt.AddDate",
         {"N1", "neu", kWed + 14 * kHour, kWed + 15 * kHour, false, 0, false, 0xFFFFFF, false,
          "M1", false, false}},
        {"_ctlGantt.AddMerkmal", {"Carla", "M3"}},
        {"_ctlGantt.GetidxGanttEintrag", {100, 60}},
        {"_ctlGantt.isTerminFrei", {kWed + 14 * kHour, kWed + 15 * kHour}},
        {"_ctlGantt.isTerminFreiMerkmal", {kWed + 14 * kHour, kWed + 15 * kHour, "M1"}},
        {"_ctlGantt.PrintAnsicht", {page, 0, 0, 400, 300}},
        {"_ctlGantt.SelectedDateMove", {kWed + 2 + 9 * kHour, 1}},
        {"_ctlGantt.SetDisplayedRange", {kWed, kWed + 6, false, true}},
        {"_ctlGantt.SetFilledRange", {kWed, kWed + 6}},
        {"_ctlGantt.TerminVorSchlagEintragen", {kWed + 14 * kHour, kWed + 15 * kHour}},
        {"_ctlGantt.ZeilenFarbe", {60, 0x00FF00}},
        {"_ctlGantt.SelectedDate=", {"B1"}},
        {"_ctlGantt.Options=", {"cContainer 1\nblnConfirmChanges:b=0\n"}},
    };
    // The plain value of each type; 1 for the integers.
    const QHash<QByteArray, QVariant> plain = {
        {"double", kWed + 10 * kHour}, {"double*", kWed + 10 * kHour}, {"bool", false},
        {"QString", "K1"}, {"qulonglong", QVariant::fromValue(WId(0))}, {"QPainter*", page}};
    QVariantList args = table.value(key);
    for (qsizetype i = args.size(); i < types.size(); ++i)
        args.append(plain.value(types.at(i).name(), 1));
    return args;
}

// What the host can read back, and the stored records: a failing call must leave all of it.
QVariantList snapshotOf(QObject *control)
{
    QVariantList s;
    const QMetaObject *meta = control->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        s << meta->property(i).read(control);
    if (auto *agenda = qobject_cast<ucAgenda *>(control)) {
        const AppointmentStore &store = ucAgendaPrivate::get(agenda)->core.data.store;
        for (qint32 i = 1; i <= store.count(); ++i)
            s << store.at(i).dsn << store.at(i).dateStart << store.at(i).dateEnd;
    } else if (auto *gantt = qobject_cast<ctlGantt *>(control)) {
        const GanttModel &model = ctlGanttPrivate::get(gantt)->core.model;
        for (qint32 i = 1; i <= model.dateCount(); ++i)
            s << model.date(i).dsn << model.date(i).von << model.date(i).bis
              << model.date(i).merkmaldsn;
        s << model.rowCount();
    }
    return s;
}

// Empty when the view is in a usable state; otherwise what is broken.
QString invariantProblem(QWidget *control, const QString &interfaceName, const QString &member,
                         bool optionsChanged)
{
    if (interfaceName == "_ctlIntellimouse")
        return QString();
    QVariantList options{control->property("Options")};
    try {
        if (optionsChanged)
            Dispatch::invoke(makeControl(interfaceName).get(), "Options", Call::PropertyPut,
                             options);
    } catch (const Error &e) {
        return "the view refuses its own Options: " + e.message();
    }
    const bool agenda = interfaceName == "_ucAgenda";
    const double raster = agenda ? control->property("TimeRaster").toDouble() : 1;
    if (!(raster > 0 && raster <= 1))
        return QStringLiteral("TimeRaster %1 is not usable").arg(raster);
    // The Gantt view's range fields are plain fields a host may even set to an unusable range.
    if (member.startsWith('m'))
        return QString();
    const double first = control->property("FirstDay").toDouble();
    const double last = control->property("LastDay").toDouble();
    if (!isValidDate(first) || !isValidDate(last) || !(first <= last + 1)
        || !(last - first <= (agenda ? 14 : 101)))
        return QStringLiteral("the range %1 .. %2 is not usable").arg(first).arg(last);
    return QString();
}

// Calls the member as a host does and leaves its error number in `number`, 0 when the call
// goes through. Fails when the call throws anything but Dayplex::Error, gives an error without a
// message, or fails after changing the view.
void invokeChecked(QWidget *control, const std::function<void()> &call, int &number)
{
    const QVariantList before = snapshotOf(control);
    PromptAnswers no(false);
    try {
        call();
    } catch (const Error &e) {
        number = e.number();
        QVERIFY2(number != 0 && !e.message().trimmed().isEmpty(), "an error without a message");
        QVERIFY2(snapshotOf(control) == before, "the call failed but changed the view");
    } catch (...) {
        QFAIL("threw something other than Dayplex::Error");
    }
}

} // namespace

Q_DECLARE_METATYPE(Dayplex::Dispatch::Call)

class tst_Dispatch : public QObject
{
    Q_OBJECT

private slots:
    // Each suite runs in a process of its own: what is set here needs no putting back.
    void initTestCase()
    {
        m_page.fill(Qt::white);
        QVERIFY(m_painter.begin(&m_page));
        setCurrentDateTimeForTesting(kWed + 1 + 10 * kHour);
        // Nothing may wait for a user: dialogs are rejected, print dialogs cancel, questions are
        // answered no.
        setModalRunner([](QDialog &dialog) { dialog.reject(); });
        cPrintDialog::setHandler(cPrintDialog::cancel());
    }

    // Catches a member added to a class but missing from its table, or bound as another kind,
    // so that hosts could not bind it.
    void everyMemberIsBound()
    {
        using K = Dispatch::Kind;
        QStringList unbound;
        for (const QMetaObject *meta : kControls) {
            const auto kindOf = [meta](const QByteArray &name, bool event) {
                for (const Dispatch::Member &m : Dispatch::members(interfaceOf(meta, event)))
                    if (m.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                        return m.kind;
                return K(-1);
            };
            for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
                const QMetaMethod m = meta->method(i);
                if (beyondClassic(m))
                    continue;
                const bool event = m.methodType() == QMetaMethod::Signal;
                const K kind = kindOf(m.name(), event);
                const K put = m.name().startsWith("set") ? kindOf(m.name().mid(3), false) : K(-1);
                if (!(m.attributes() & QMetaMethod::Cloned)
                    && kind != (event ? K::Event : K::Method) && put != K::PropertyPut
                    && put != K::PropertyGetPut)
                    unbound << m.name();
            }
            for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
                const QMetaProperty p = meta->property(i);
                const K kind = p.isWritable() ? K::PropertyGetPut : K::PropertyGet;
                if (kindOf(p.name(), false) != kind)
                    unbound << p.name();
            }
        }
        QCOMPARE(unbound, QStringList());
    }

    void invoke_data()
    {
        const Call M = Call::Method, G = Call::PropertyGet, P = Call::PropertyPut;
        using L = QVariantList;
        QTest::addColumn<QString>("interfaceName");
        QTest::addColumn<QString>("member"); // empty: call the identifier 0x12345
        QTest::addColumn<Call>("call");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QVariant>("result");
        QTest::addColumn<QVariantList>("argsAfter"); // empty: as passed
        QTest::addColumn<int>("number");
        const QString a = "_ucAgenda";
        const auto row = [](const char *tag, const QString &iface, const char *member, Call call,
                            const L &args, const QVariant &result, int number = 0,
                            const L &after = {}) {
            QTest::newRow(tag) << iface << member << call << args << result << after << number;
        };
        row("MaxLong", a, "MaxLong", M, {3, 7}, 7);
        row("DateAbrunden of a date value", a, "DateAbrunden", M,
            {QDateTime(QDate(2024, 3, 6), QTime(8, 47)), 15.0 / 1440}, kWed + 8.75 * kHour);
        row("GetZeilenIndex", a, "GetZeilenIndex", M, {kWed + 8 * kHour + 29.0 / 1440}, 16);
        row("TerminDSN", a, "TerminDSN", G, {}, "K1|K2|K3|");
        row("isIntervallSichtbar", "_ctlGantt", "isIntervallSichtbar", M, {kWed + 1, kWed + 2},
            true);
        row("in/out last day: 20 days cut to 14", a, "SetDisplayedRange", M, {kWed, kWed + 20},
            QVariant(), 0, {kWed, kWed + 13});
        row("MaxLong 1 argument", a, "MaxLong", M, {1}, QVariant(), 450);
        row("AddDate 8 arguments", a, "AddDate", M, {"K", "", kWed, kWed, false, 0, false, 0},
            QVariant(), 450);
        row("text for a number", a, "MaxLong", M, {"abc", 1}, QVariant(), 13);
        row("number beyond 32 bits", a, "MaxLong", M, {1e10, 1}, QVariant(), 6);
        row("unknown id", a, "", M, {}, QVariant(), 438);
        row("put on get-only", a, "FirstDay", P, {kWed}, QVariant(), 438);
        row("calendar member on gantt", "_ctlGantt", "TerminDSN", G, {}, QVariant(), 438);
        row("member: division by zero", a, "DateAbrunden", M, {kWed, 0}, QVariant(), 11);
    }

    // Catches identifiers bound to the wrong member, lost argument conversions and results,
    // in/out arguments passed by value or not copied back, failures reported with the wrong
    // number or after a partial change, and arguments written back by a failing call.
    void invoke()
    {
        QFETCH(QString, interfaceName);
        QFETCH(QString, member);
        QFETCH(Call, call);
        QFETCH(QVariantList, args);
        QFETCH(QVariant, result);
        QFETCH(QVariantList, argsAfter);
        QFETCH(int, number);
        const std::unique_ptr<QWidget> control = makeControl(interfaceName);
        const auto id = [&] {
            return member.isEmpty() ? 0x12345 : Dispatch::dispatchId(interfaceName, member);
        };
        for (const bool byId : {true, false}) {
            QVariantList passed = args;
            QVariant actual;
            int actualNumber = 0;
            invokeChecked(control.get(), [&] {
                actual = byId || member.isEmpty()
                             ? Dispatch::invoke(control.get(), id(), call, passed)
                             : Dispatch::invoke(control.get(), member, call, passed);
            }, actualNumber);
            QCOMPARE(actualNumber, number);
            QCOMPARE(actual.metaType(), result.metaType());
            const bool close = qAbs(actual.toDouble() - result.toDouble()) < 1e-9;
            QVERIFY2(result.userType() == QMetaType::Double ? close : actual == result,
                     qPrintable(QString::number(actual.toDouble(), 'f', 10)));
            QCOMPARE(passed, argsAfter.isEmpty() ? args : argsAfter);
        }
    }

    // Catches swapped event identifiers and arguments lost or reordered on the way to the
    // handler: every event of each control, emitted by name as a host without the header would,
    // with a different value in each parameter.
    void eventDelivered()
    {
        // Hosts bind events by number, and the same event has its own number in each control.
        QCOMPARE(Dispatch::dispatchId("__ucAgenda", "NeedDates"), 2);
        QCOMPARE(Dispatch::dispatchId("__ctlGantt", "NeedDates"), 5);
        for (const QMetaObject *meta : kControls) {
            const std::unique_ptr<QWidget> control = makeControl(interfaceOf(meta));
            const QString iface = interfaceOf(meta, true);
            QObject context;
            QList<QPair<qint32, QVariantList>> received;
            for (const Dispatch::Member &m : Dispatch::members(iface)) {
                const auto record = [&received, id = m.dispid](const QVariantList &values) {
                    received.append({id, values});
                };
                QVERIFY(Dispatch::connectEvent(control.get(), m.dispid, &context, record));
            }
            for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
                const QMetaMethod signal = meta->method(i);
                if (signal.methodType() != QMetaMethod::Signal || beyondClassic(signal))
                    continue;
                QVariantList values(signal.parameterCount());
                QGenericArgument g[4];
                for (int p = 0; p < signal.parameterCount(); ++p) {
                    values[p] = p + 1;
                    QVERIFY(values[p].convert(signal.parameterMetaType(p)));
                    g[p] = QGenericArgument(signal.parameterMetaType(p).name(), values[p].data());
                }
                received.clear();
                QVERIFY(signal.invoke(control.get(), Qt::DirectConnection, g[0], g[1], g[2], g[3]));
                QCOMPARE(received.size(), 1);
                QCOMPARE(Dispatch::memberName(iface, received.at(0).first), signal.name());
                QCOMPARE(received.at(0).second, values);
            }
        }
    }

    // For each member and call: the valid call, then each bad value in each parameter position
    // with the others valid; past the last parameter, a surplus argument.
    void badArgumentEndsInErrorOrRepair_data()
    {
        QTest::addColumn<QString>("interfaceName");
        QTest::addColumn<QString>("member");
        QTest::addColumn<Call>("call");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("bad"); // index into badValues(), -1 for the valid call
        for (const QMetaObject *meta : kControls) {
            const QString iface = interfaceOf(meta);
            for (const Dispatch::Member &member : Dispatch::members(iface)) {
                for (const Call call : callsOf(member.kind)) {
                    const QString name = iface + "." + member.name
                                         + (call == Call::PropertyPut ? " put" : "");
                    QTest::newRow(qPrintable(name + " valid"))
                        << iface << member.name << call << 0 << -1;
                    const int count = int(parametersOf(meta, member.name, call).size());
                    for (int position = 0; position < qMax(count, 1); ++position)
                        for (int bad = 0; bad < int(badValues().size()); ++bad)
                            QTest::addRow("%s arg %d = %s", qPrintable(name), position + 1,
                                          badValues().at(bad).tag)
                                << iface << member.name << call << position << bad;
                }
            }
        }
    }

    // Catches a member that crashes, throws anything but Dayplex::Error, changes stored data
    // when it fails, or accepts a hostile value into a state the view cannot show or store.
    void badArgumentEndsInErrorOrRepair()
    {
        QFETCH(QString, interfaceName);
        QFETCH(QString, member);
        QFETCH(Call, call);
        QFETCH(int, position);
        QFETCH(int, bad);
        std::unique_ptr<QWidget> control = makeControl(interfaceName);
        const QVector<QMetaType> types = parametersOf(control->metaObject(), member, call);
        const QString key = interfaceName + "." + member + (call == Call::PropertyPut ? "=" : "");
        QVariantList args = validArguments(key, types, &m_painter);
        QCOMPARE(args.size(), types.size());
        bool mustFail = false; // a container taken for a number
        if (bad >= 0 && position < args.size()) {
            args[position] = badValues().at(bad).value;
            mustFail = bad == int(badValues().size()) - 1 && isNumeric(types.at(position));
        } else if (bad >= 0) {
            args.append(badValues().at(bad).value);
        }
        QVector<QVariantList> dateChanges;
        const auto record = [&dateChanges](const QVariantList &a) { dateChanges.append(a); };
        if (interfaceName != "_ctlIntellimouse")
            Dispatch::connectEvent(control.get(), 1, control.get(), record);
        const QVariant optionsBefore = control->property("Options");
        int number = 0;
        const qint32 id = Dispatch::dispatchId(interfaceName, member);
        const auto invoke = [&] { Dispatch::invoke(control.get(), id, call, args); };
        invokeChecked(control.get(), invoke, number);
        if (QTest::currentTestFailed())
            return;
        // The valid call must go through, so that each bad value is the only fault of its call.
        QVERIFY2(bad >= 0 || number == 0, "the valid call fails");
        QVERIFY2(!mustFail || number != 0, "a container was taken for a number");
        for (const QVariantList &change : std::as_const(dateChanges))
            QVERIFY2(change.value(1).toDouble() <= change.value(2).toDouble(),
                     "DateChanged reports a start after its end");
        const QString broken = invariantProblem(control.get(), interfaceName, member,
                                                control->property("Options") != optionsBefore);
        QVERIFY2(broken.isEmpty(), qPrintable(broken));
        try {
            if (auto *agenda = qobject_cast<ucAgenda *>(control.get()))
                QVERIFY(!agenda->paintToImage(QSize(200, 150)).isNull());
            else if (auto *gantt = qobject_cast<ctlGantt *>(control.get()))
                QVERIFY(!gantt->paintToImage(QSize(200, 150)).isNull());
        } catch (const Error &e) {
            QFAIL(qPrintable("the view cannot paint any more: " + e.message()));
        }
    }

private:
    QImage m_page{800, 600, QImage::Format_RGB32};
    QPainter m_painter; // the print target of PrintAnsicht
};

DAYPLEX_TEST_MAIN(tst_Dispatch)
#include "tst_dispatch.moc"
