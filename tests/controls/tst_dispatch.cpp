#include <dayplex/dayplex.h>

#include <QMetaEnum>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QtTest>

#include <memory>
#include "support/testing.h"

using Dayplex::Dispatch;
using Call = Dispatch::Call;
using Kind = Dispatch::Kind;

Q_DECLARE_METATYPE(Dispatch::Call)

using namespace Dayplex::Testing;

namespace {

const double kWed = Dayplex::toDate(QDate(2024, 3, 6)); // a Wednesday
const double kHour = 1.0 / 24;

const QMetaObject *metaObjectOf(const QString &className)
{
    if (className == QLatin1String("ucAgenda"))
        return &Dayplex::ucAgenda::staticMetaObject;
    if (className == QLatin1String("ctlGantt"))
        return &Dayplex::ctlGantt::staticMetaObject;
    return &Dayplex::ctlIntellimouse::staticMetaObject;
}

QString interfaceOfClass(const QString &className, const char *key = "Interface")
{
    const QMetaObject *meta = metaObjectOf(className);
    return QString::fromLatin1(meta->classInfo(meta->indexOfClassInfo(key)).value());
}

QByteArray setterOf(const QString &name)
{
    return "set" + name.left(1).toUpper().toLatin1() + name.mid(1).toLatin1();
}

// The method of that name and type the class itself declares, or an invalid one.
QMetaMethod ownMethod(const QMetaObject *meta, const QByteArray &name, QMetaMethod::MethodType type)
{
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        if (meta->method(i).methodType() == type && meta->method(i).name() == name)
            return meta->method(i);
    }
    return QMetaMethod();
}

// The calendar shows 2024-03-06..08 and holds "K1" on the 7th; the Gantt view shows the same days.
std::unique_ptr<QWidget> createControl(const QString &className)
{
    if (className == QLatin1String("ucAgenda")) {
        auto agenda = std::make_unique<Dayplex::ucAgenda>();
        double last = kWed + 2;
        agenda->SetDisplayedRange(kWed, &last);
        agenda->AddDate("K1", "memo", kWed + 1 + 10 * kHour, kWed + 1 + 11 * kHour, false, 0,
                        false, 0, false);
        return agenda;
    }
    if (className == QLatin1String("ctlGantt")) {
        auto gantt = std::make_unique<Dayplex::ctlGantt>();
        gantt->mStartDate = kWed;
        gantt->mEndDate = kWed + 2;
        return gantt;
    }
    return std::make_unique<Dayplex::ctlIntellimouse>();
}

void compareResult(const QVariant &actual, const QVariant &expected)
{
    QCOMPARE(actual.metaType(), expected.metaType());
    if (expected.userType() == QMetaType::Double)
        QVERIFY2(qAbs(actual.toDouble() - expected.toDouble()) < 1e-9,
                 qPrintable(QString::number(actual.toDouble(), 'f', 10)));
    else
        QCOMPARE(actual, expected);
}

// Every own property, so that a failing call can be shown to have changed nothing.
QVariantList snapshot(QObject *control)
{
    QVariantList values;
    const QMetaObject *meta = control->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        try {
            values << meta->property(i).read(control);
        } catch (const Dayplex::Error &e) {
            values << e.number();
        }
    }
    return values;
}

} // namespace

class tst_Dispatch : public QObject
{
    Q_OBJECT

private slots:
    void tableMemberExistsInClass_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        for (const char *cls : {"ucAgenda", "ctlGantt", "ctlIntellimouse"}) {
            for (const char *key : {"Interface", "EventInterface"}) {
                for (const Dispatch::Member &m : Dispatch::members(interfaceOfClass(cls, key)))
                    QTest::addRow("%s.%s", cls, qPrintable(m.name)) << cls << m.name << int(m.kind);
            }
        }
    }

    // Catches a table row naming a member the class lacks, or with a kind the class cannot serve.
    void tableMemberExistsInClass()
    {
        QFETCH(QString, className);
        QFETCH(QString, name);
        QFETCH(int, kind);
        const QMetaObject *meta = metaObjectOf(className);
        const int pi = meta->indexOfProperty(name.toLatin1());
        const QMetaProperty property = pi >= meta->propertyOffset() ? meta->property(pi) : QMetaProperty();
        const bool readable = property.isReadable();
        const bool writable = property.isWritable() || ownMethod(meta, setterOf(name), QMetaMethod::Method).isValid();
        switch (Kind(kind)) {
        case Kind::Method:
            QVERIFY(ownMethod(meta, name.toLatin1(), QMetaMethod::Method).isValid());
            QVERIFY(!property.isValid());
            break;
        case Kind::PropertyGet:
            QVERIFY(readable && !writable);
            break;
        case Kind::PropertyPut:
            QVERIFY(!readable && writable);
            break;
        case Kind::PropertyGetPut:
            QVERIFY(readable && writable);
            break;
        case Kind::Event:
            QVERIFY(ownMethod(meta, name.toLatin1(), QMetaMethod::Signal).isValid());
            break;
        }
    }

    void classMemberIsInTable_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("what");
        for (const char *cls : {"ucAgenda", "ctlGantt", "ctlIntellimouse"}) {
            const QMetaObject *meta = metaObjectOf(cls);
            for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
                const QMetaMethod m = meta->method(i);
                if (m.attributes() & QMetaMethod::Cloned)
                    continue;
                const char *what = m.methodType() == QMetaMethod::Signal ? "signal" : "method";
                QTest::addRow("%s.%s", cls, m.name().constData()) << cls << QString(m.name()) << what;
            }
            for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
                QTest::addRow("%s.%s", cls, meta->property(i).name())
                    << cls << QString(meta->property(i).name()) << "property";
        }
    }

    // Catches a member added to a class but missing from its interface, so hosts could not bind it.
    void classMemberIsInTable()
    {
        QFETCH(QString, className);
        QFETCH(QString, name);
        QFETCH(QString, what);
        const QString iface = interfaceOfClass(className, what == "signal" ? "EventInterface" : "Interface");
        auto kindOf = [&](const QString &member) {
            for (const Dispatch::Member &m : Dispatch::members(iface)) {
                if (m.name.compare(member, Qt::CaseInsensitive) == 0)
                    return int(m.kind);
            }
            return -1;
        };
        if (what == "signal") {
            QCOMPARE(kindOf(name), int(Kind::Event));
        } else if (what == "property") {
            const QMetaObject *meta = metaObjectOf(className);
            const QMetaProperty p = meta->property(meta->indexOfProperty(name.toLatin1()));
            const Kind expected = p.isWritable() ? Kind::PropertyGetPut : Kind::PropertyGet;
            QCOMPARE(kindOf(name), int(expected));
        } else if (kindOf(name) != int(Kind::Method)) {
            QVERIFY(name.startsWith("set"));
            const int kind = kindOf(name.mid(3));
            QVERIFY(kind == int(Kind::PropertyPut) || kind == int(Kind::PropertyGetPut));
        }
    }

    // Catches duplicated rows: identifiers and names must each be unique per interface.
    void membersAreUnique()
    {
        for (const char *cls : {"ucAgenda", "ctlGantt", "ctlIntellimouse"}) {
            for (const QString &iface : {QStringLiteral("_") + cls, QStringLiteral("__") + cls}) {
                QVERIFY(Dispatch::interfaceNames().contains(iface));
                QSet<qint32> ids;
                QSet<QString> names;
                for (const Dispatch::Member &m : Dispatch::members(iface)) {
                    ids.insert(m.dispid);
                    names.insert(m.name.toLower());
                }
                QCOMPARE(ids.size(), Dispatch::members(iface).size());
                QCOMPARE(names.size(), Dispatch::members(iface).size());
            }
        }
    }

    void dispatchIdBothWays_data()
    {
        QTest::addColumn<QString>("iface");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint32>("dispid");
        QTest::newRow("calendar Enabled") << "_ucAgenda" << "Enabled" << 0x68030000;
        QTest::newRow("gantt OptimaleZeilenhoehe") << "_ctlGantt" << "OptimaleZeilenhoehe" << 0x68030000;
        QTest::newRow("wheel hwnd") << "_ctlIntellimouse" << "hwnd" << 0x68030000;
        QTest::newRow("gantt Enabled") << "_ctlGantt" << "Enabled" << 0x4003001E;
        QTest::newRow("calendar ForPrinting") << "_ucAgenda" << "ForPrinting" << 0x40030006;
        QTest::newRow("gantt ForPrinting") << "_ctlGantt" << "ForPrinting" << 0x40030015;
        QTest::newRow("calendar ZellenBelegungEintragen") << "_ucAgenda" << "ZellenBelegungEintragen" << 0x60030042;
        QTest::newRow("gantt SetDisplayedRange") << "_ctlGantt" << "SetDisplayedRange" << 0x60030042;
        QTest::newRow("gantt AddDate") << "_ctlGantt" << "AddDate" << 0x6003004A;
        QTest::newRow("calendar backcolor") << "_ucAgenda" << "backcolor" << 0x68030011;
        QTest::newRow("calendar SelectedDate") << "_ucAgenda" << "SelectedDate" << 0x68030006;
        QTest::newRow("gantt FirstDay") << "_ctlGantt" << "FirstDay" << 0x68030006;
    }

    // Catches a wrong identifier, in particular one taken from the other control's interface.
    void dispatchIdBothWays()
    {
        QFETCH(QString, iface);
        QFETCH(QString, name);
        QFETCH(qint32, dispid);
        QCOMPARE(Dispatch::dispatchId(iface, name), dispid);
        QCOMPARE(Dispatch::dispatchId(iface, name.toUpper()), dispid);
        QCOMPARE(Dispatch::memberName(iface, dispid), name);
    }

    void classInfo_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QStringList>("expected"); // ClassID, InterfaceID, EventsID, ProgID
        const QString s = "-D2E8-11D2-802E-0080C83B816D}";
        const QString w = "-1CED-11D3-85D0-0080C8394789}";
        QTest::newRow("ucAgenda") << "ucAgenda"
                                  << QStringList{"{6037C507" + s, "{6037C506" + s, "{6037C509" + s, "Dayplex.ucAgenda"};
        QTest::newRow("ctlGantt") << "ctlGantt"
                                  << QStringList{"{6037C50F" + s, "{6037C50E" + s, "{6037C510" + s, "Dayplex.ctlGantt"};
        QTest::newRow("ctlIntellimouse") << "ctlIntellimouse"
                                         << QStringList{"{89161814" + w, "{89161813" + w, "{89161815" + w,
                                                        "Dayplex.ctlIntellimouse"};
    }

    // Catches registration data that no longer matches what existing hosts look the classes up by.
    void classInfo()
    {
        QFETCH(QString, className);
        QFETCH(QStringList, expected);
        const QStringList keys{"ClassID", "InterfaceID", "EventsID", "ProgID"};
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(interfaceOfClass(className, qPrintable(keys.at(i))), expected.at(i));
        const std::unique_ptr<QWidget> control = createControl(className);
        QCOMPARE(Dispatch::interfaceOf(control.get()), "_" + className);
        QCOMPARE(Dispatch::eventInterfaceOf(control.get()), "__" + className);
    }

    void kalenderobjekttyp_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<int>("value");
        const char *keys[] = {"zeitzelle", "tageszelle", "splitter", "termineintrag",
                              "sizenorth", "sizesouth", "tagestermin", "tageszellekopf"};
        for (int i = 0; i < 8; ++i)
            QTest::newRow(keys[i]) << QByteArray(keys[i]) << (1 << i);
    }

    // Catches an enum value that is no longer a single bit at its place, or a renamed key.
    void kalenderobjekttyp()
    {
        QFETCH(QByteArray, key);
        QFETCH(int, value);
        const QMetaEnum e = QMetaEnum::fromType<Dayplex::kalenderobjekttyp>();
        QCOMPARE(e.keyCount(), 8);
        bool ok = false;
        QCOMPARE(e.keyToValue(key, &ok), value);
        QVERIFY(ok);
    }

    void invokeResult_data()
    {
        const Call M = Call::Method, G = Call::PropertyGet;
        using L = QVariantList;
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("member");
        QTest::addColumn<Call>("call");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QVariant>("expected");
        const QDateTime at0847(QDate(2024, 3, 6), QTime(8, 47));
        QTest::newRow("MaxLong") << "ucAgenda" << "MaxLong" << M << L{3, 7} << QVariant(7);
        QTest::newRow("MaxLong text and double") << "ucAgenda" << "maxlong" << M
                                                 << L{"12", 7.0} << QVariant(12);
        QTest::newRow("DateAbrunden date value") << "ucAgenda" << "DateAbrunden" << M
                                                 << L{at0847, 15.0 / 1440}
                                                 << QVariant(kWed + 8.75 * kHour);
        QTest::newRow("GetAnzahlTage") << "ucAgenda" << "GetAnzahlTage" << M << L{} << QVariant(3);
        QTest::newRow("GetSpaltenIndex QDate") << "ucAgenda" << "GetSpaltenIndex" << M
                                               << L{QDate(2024, 3, 7)} << QVariant(1);
        QTest::newRow("MinLong") << "ucAgenda" << "MinLong" << M << L{3, 7} << QVariant(3);
        QTest::newRow("GetZeilenIndex") << "ucAgenda" << "GetZeilenIndex" << M
                                        << L{kWed + 8 * kHour + 29.0 / 1440} << QVariant(16);
        QTest::newRow("isSelectedReadOnly") << "ucAgenda" << "isSelectedReadOnly" << M
                                            << L{} << QVariant(false);
        QTest::newRow("Clear returns nothing") << "ucAgenda" << "Clear" << M << L{} << QVariant();
        QTest::newRow("FirstDay") << "ucAgenda" << "FirstDay" << G << L{} << QVariant(kWed);
        QTest::newRow("TerminDSN") << "ucAgenda" << "TerminDSN" << G << L{} << QVariant("K1|");
        QTest::newRow("gantt interval visible") << "ctlGantt" << "isIntervallSichtbar" << M
                                                << L{kWed + 1, kWed + 2} << QVariant(true);
        QTest::newRow("gantt FirstDay") << "ctlGantt" << "FirstDay" << G << L{} << QVariant(kWed);
    }

    // Catches identifiers bound to the wrong member, lost argument conversions and lost results.
    void invokeResult()
    {
        QFETCH(QString, className);
        QFETCH(QString, member);
        QFETCH(Call, call);
        QFETCH(QVariantList, args);
        QFETCH(QVariant, expected);
        const std::unique_ptr<QWidget> control = createControl(className);
        QVariantList byId = args;
        const qint32 id = Dispatch::dispatchId(Dispatch::interfaceOf(control.get()), member);
        compareResult(Dispatch::invoke(control.get(), id, call, byId), expected);
        QVariantList byName = args;
        compareResult(Dispatch::invoke(control.get(), member, call, byName), expected);
        QCOMPARE(byName, args); // nothing but in/out arguments is written back
    }

    void inOutArgumentWrittenBack_data()
    {
        using L = QVariantList;
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<double>("writtenBack");
        QTest::addColumn<double>("lastDay");
        QTest::newRow("last day 0 keeps one day") << L{kWed, 0.0} << kWed << kWed;
        QTest::newRow("last day empty") << L{kWed, QVariant()} << kWed << kWed;
        QTest::newRow("20 days cut to 14") << L{kWed, kWed + 20} << kWed + 13 << kWed + 13;
        QTest::newRow("dates as QDate") << L{QDate(2024, 3, 6), QDate(2024, 3, 8)} << kWed + 2 << kWed + 2;
        QTest::newRow("all four arguments") << L{kWed, kWed + 1, false, true} << kWed + 1 << kWed + 1;
    }

    // Catches an in/out argument that is passed by value or not copied back into the list.
    void inOutArgumentWrittenBack()
    {
        QFETCH(QVariantList, args);
        QFETCH(double, writtenBack);
        QFETCH(double, lastDay);
        Dayplex::ucAgenda agenda;
        Dispatch::invoke(&agenda, 0x6003003E, Call::Method, args);
        QCOMPARE(args.at(1).userType(), int(QMetaType::Double));
        QCOMPARE(args.at(1).toDouble(), writtenBack);
        QCOMPARE(agenda.LastDay(), lastDay);
    }

    void optionalArgumentOmitted_data()
    {
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("keys");
        const QVariantList nine{"K9", "memo", kWed + 9 * kHour, kWed + 10 * kHour, false, 0, false, 0, false};
        QTest::newRow("AddDate 9 arguments") << nine << "K1|K9|";
        QTest::newRow("AddDate 10 arguments, holiday") << (nine + QVariantList{true}) << "K1|";
    }

    // Catches optional trailing arguments that cannot be left out, or a last argument that is lost.
    void optionalArgumentOmitted()
    {
        QFETCH(QVariantList, args);
        QFETCH(QString, keys);
        const std::unique_ptr<QWidget> agenda = createControl("ucAgenda");
        QVERIFY(!Dispatch::invoke(agenda.get(), 0x60030013, Call::Method, args).isValid());
        QVariantList none;
        QCOMPARE(Dispatch::invoke(agenda.get(), 0x6803000E, Call::PropertyGet, none), QVariant(keys));
        QVariantList firstOnly{kWed + 7};
        Dispatch::invoke(agenda.get(), "SetDisplayedRange", Call::Method, firstOnly);
        QCOMPARE(firstOnly, QVariantList{kWed + 7});
        QCOMPARE(agenda->property("LastDay").toDouble(), kWed + 9); // the three days are kept
    }

    void manyArguments_data()
    {
        QTest::addColumn<QVariantList>("args");
        const QVariantList eleven{"K", "Notiz", kWed, kWed + kHour, false, 0, false, 0, false, "M1", false};
        QTest::newRow("11 arguments") << eleven;
        QTest::newRow("12 arguments") << (eleven + QVariantList{true});
    }

    // Catches members with more parameters than QMetaMethod::invoke takes being out of reach:
    // the dispatched call must end exactly as the direct one does.
    void manyArguments()
    {
        QFETCH(QVariantList, args);
        auto outcome = [](const std::function<void()> &call) {
            try {
                call();
            } catch (const Dayplex::Error &e) {
                return QString::number(e.number()) + ' ' + e.message();
            }
            return QString();
        };
        Dayplex::ctlGantt direct, dispatched;
        const QString expected = outcome([&] {
            direct.AddDate("K", "Notiz", kWed, kWed + kHour, false, 0, false, 0, false, "M1", false,
                           args.size() == 12);
        });
        QCOMPARE(outcome([&] { Dispatch::invoke(&dispatched, 0x6003004A, Call::Method, args); }), expected);
    }

    void propertyRoundTrip_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("TimeRaster") << "ucAgenda" << "TimeRaster" << QVariant(15.0 / 1440) << QVariant(15.0 / 1440);
        QTest::newRow("SelectedDate") << "ucAgenda" << "SelectedDate" << QVariant("K1") << QVariant("K1");
        QTest::newRow("SelectionStart QDateTime") << "ucAgenda" << "SelectionStart"
                                                  << QVariant(QDateTime(QDate(2024, 3, 7), QTime(10, 10)))
                                                  << QVariant(kWed + 1 + 10 * kHour);
        QTest::newRow("Enabled") << "ucAgenda" << "Enabled" << QVariant(true) << QVariant(true);
        QTest::newRow("ForPrinting") << "ucAgenda" << "ForPrinting" << QVariant(true) << QVariant(true);
        QTest::newRow("DayInfoHeight from text") << "ucAgenda" << "DayInfoHeight" << QVariant("4") << QVariant(4);
        QTest::newRow("gantt mStartDate QDateTime") << "ctlGantt" << "mStartDate"
                                                    << QVariant(QDateTime(QDate(2024, 3, 6), QTime(12, 0)))
                                                    << QVariant(kWed + 0.5);
        QTest::newRow("gantt Enabled") << "ctlGantt" << "Enabled" << QVariant(true) << QVariant(true);
        QTest::newRow("gantt OptimaleZeilenhoehe") << "ctlGantt" << "OptimaleZeilenhoehe" << QVariant(true) << QVariant(true);
    }

    // Catches puts that do not reach the property, or get and put bound to different members.
    void propertyRoundTrip()
    {
        QFETCH(QString, className);
        QFETCH(QString, member);
        QFETCH(QVariant, value);
        QFETCH(QVariant, expected);
        const std::unique_ptr<QWidget> control = createControl(className);
        const qint32 id = Dispatch::dispatchId(Dispatch::interfaceOf(control.get()), member);
        QVariantList put{value};
        QVERIFY(!Dispatch::invoke(control.get(), id, Call::PropertyPut, put).isValid());
        QVariantList none;
        compareResult(Dispatch::invoke(control.get(), id, Call::PropertyGet, none), expected);
    }

    // Catches write-only properties that are not routed to their set... member.
    void writeOnlyPuts()
    {
        Dayplex::ucAgenda agenda;
        QVariantList monday{2};
        Dispatch::invoke(&agenda, "AlignOnWeekday", Call::PropertyPut, monday);
        QVariantList range{kWed, kWed + 2};
        Dispatch::invoke(&agenda, "SetDisplayedRange", Call::Method, range);
        QCOMPARE(agenda.FirstDay(), kWed - 2);
        QVariantList path{"dayplex.chm"};
        Dispatch::invoke(&agenda, 0x6803000F, Call::PropertyPut, path);
        QCOMPARE(qApp->property("helpFile"), QVariant("dayplex.chm"));
    }

    void invokeError_data()
    {
        const Call M = Call::Method, G = Call::PropertyGet, P = Call::PropertyPut;
        using L = QVariantList;
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("member"); // empty: call by dispid
        QTest::addColumn<qint32>("dispid");
        QTest::addColumn<Call>("call");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<int>("number");
        const QString a = "ucAgenda";
        QTest::newRow("MaxLong 1 argument") << a << "MaxLong" << 0 << M << L{1} << 450;
        QTest::newRow("MaxLong 3 arguments") << a << "" << 0x6003002E << M << L{1, 2, 3} << 450;
        QTest::newRow("AddDate 8 arguments") << a << "AddDate" << 0 << M
                                             << L{"K", "", kWed, kWed, false, 0, false, 0} << 450;
        QTest::newRow("get with an index") << a << "FirstDay" << 0 << G << L{1} << 450;
        QTest::newRow("put without value") << a << "TimeRaster" << 0 << P << L{} << 450;
        QTest::newRow("put with an index") << a << "TimeRaster" << 0 << P << L{1, 0.5} << 450;
        QTest::newRow("write-only put 2 values") << a << "AlignOnWeekday" << 0 << P << L{1, 2} << 450;
        QTest::newRow("text for a number") << a << "MaxLong" << 0 << M << L{"abc", 1} << 13;
        QTest::newRow("text for an in/out date") << a << "SetDisplayedRange" << 0 << M
                                                 << L{kWed, "abc"} << 13;
        QTest::newRow("text put to a number") << a << "TimeRaster" << 0 << P << L{"abc"} << 13;
        QTest::newRow("text for a painter") << a << "PrintAnsicht" << 0 << M
                                            << L{"abc", 0, 0, 0, 0} << 13;
        QTest::newRow("number beyond 32 bits") << a << "MaxLong" << 0 << M << L{1e10, 1} << 6;
        QTest::newRow("put beyond 32 bits") << a << "DayInfoHeight" << 0 << P << L{-3e9} << 6;
        QTest::newRow("unknown id") << a << "" << 0x12345 << M << L{} << 438;
        QTest::newRow("event id") << a << "" << 2 << M << L{} << 438;
        QTest::newRow("unknown name") << a << "NoSuchMember" << 0 << M << L{} << 438;
        QTest::newRow("put on get-only") << a << "FirstDay" << 0 << P << L{kWed} << 438;
        QTest::newRow("get on put-only") << a << "" << 0x68030012 << G << L{} << 438;
        QTest::newRow("method call of a property") << a << "TimeRaster" << 0 << M << L{} << 438;
        QTest::newRow("get of a method") << a << "Clear" << 0 << G << L{} << 438;
        QTest::newRow("calendar member on gantt") << "ctlGantt" << "TerminDSN" << 0 << G << L{} << 438;
        QTest::newRow("member: division by zero") << a << "DateAbrunden" << 0 << M << L{kWed, 0} << 11;
        QTest::newRow("member: raster 0") << a << "TimeRaster" << 0 << P << L{0.0} << 5;
    }

    // Catches failures reported with the wrong number, thrown late after a partial change, or not at all.
    void invokeError()
    {
        QFETCH(QString, className);
        QFETCH(QString, member);
        QFETCH(qint32, dispid);
        QFETCH(Call, call);
        QFETCH(QVariantList, args);
        QFETCH(int, number);
        const std::unique_ptr<QWidget> control = createControl(className);
        const QVariantList before = snapshot(control.get());
        QVariantList passed = args;
        QCOMPARE(errorNumber([&] {
                     if (member.isEmpty())
                         Dispatch::invoke(control.get(), dispid, call, passed);
                     else
                         Dispatch::invoke(control.get(), member, call, passed);
                 }),
                 number);
        QCOMPARE(snapshot(control.get()), before);
        QCOMPARE(passed, args);
    }

    // Catches members that a host binding late with plain Qt cannot reach.
    void plainQtLateBinding()
    {
        Dayplex::ucAgenda agenda;
        qint32 r = 0;
        QVERIFY(QMetaObject::invokeMethod(&agenda, "MaxLong", Q_RETURN_ARG(qint32, r), Q_ARG(qint32, 3),
                                          Q_ARG(qint32, 7)));
        QCOMPARE(r, 7);
        QVERIFY(QMetaObject::invokeMethod(&agenda, "SetDisplayedRange", Q_ARG(double, kWed)));
        QCOMPARE(agenda.property("FirstDay"), QVariant(kWed));
        double last = kWed + 20;
        QVERIFY(QMetaObject::invokeMethod(&agenda, "SetDisplayedRange", Q_ARG(double, kWed),
                                          Q_ARG(double *, &last)));
        QCOMPARE(last, kWed + 13);
        QVERIFY(QMetaObject::invokeMethod(&agenda, "GetSpaltenIndex", Q_RETURN_ARG(qint32, r),
                                          Q_ARG(double, kWed + 5.5)));
        QCOMPARE(r, 5);
        QVERIFY(agenda.setProperty("Enabled", true));
        QCOMPARE(agenda.property("Enabled"), QVariant(true));
        QVERIFY(QMetaObject::invokeMethod(&agenda, "setAlignOnWeekday", Q_ARG(qint32, 2)));
    }

    void eventDelivered_data()
    {
        using L = QVariantList;
        using B = QByteArrayList;
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("event");
        QTest::addColumn<qint32>("dispid");
        QTest::addColumn<QByteArrayList>("parameters");
        QTest::addColumn<QVariantList>("args");
        const QByteArrayList changed{"dsn", "newStartDate", "NewEndDate"};
        const QByteArrayList need{"daystart", "dayende", "strFeldliste"};
        const QVariantList changedArgs{"K1", kWed, kWed + 1};
        const QVariantList needArgs{kWed, kWed + 2, "F"};
        const QString a = "ucAgenda", g = "ctlGantt";
        QTest::newRow("ucAgenda.DateChanged") << a << "DateChanged" << 1 << changed << changedArgs;
        QTest::newRow("ucAgenda.NeedDates") << a << "NeedDates" << 2 << need << needArgs;
        QTest::newRow("ucAgenda.NewDate") << a << "NewDate" << 3 << B{"dateStart", "dateEnde", "btagestermin"}
                                          << L{kWed, kWed + 1, true};
        QTest::newRow("ucAgenda.ChangeFilter") << a << "ChangeFilter" << 4 << B{} << L{};
        QTest::newRow("ucAgenda.ShowDate") << a << "ShowDate" << 5 << B{"dsn"} << L{"K1"};
        QTest::newRow("ucAgenda.OptionsChanged") << a << "OptionsChanged" << 6 << B{} << L{};
        QTest::newRow("ucAgenda.ShowImGantt") << a << "ShowImGantt" << 7 << B{"ab"} << L{kWed};
        QTest::newRow("ctlGantt.DateChanged") << g << "DateChanged" << 1 << changed << changedArgs;
        QTest::newRow("ctlGantt.NewDate") << g << "NewDate" << 2 << B{"dateStart", "dateEnde", "strmerkmalsliste"}
                                          << L{kWed, kWed + 1, "M1;M2"};
        QTest::newRow("ctlGantt.ShowDate") << g << "ShowDate" << 3 << B{"dsn"} << L{"K1"};
        QTest::newRow("ctlGantt.OptionsChanged") << g << "OptionsChanged" << 4 << B{} << L{};
        QTest::newRow("ctlGantt.NeedDates") << g << "NeedDates" << 5 << need << needArgs;
        QTest::newRow("ctlGantt.ChangeFilter") << g << "ChangeFilter" << 6 << B{} << L{};
        QTest::newRow("ctlGantt.ShowImCalendar") << g << "ShowImCalendar" << 7 << B{} << L{};
        QTest::newRow("ctlIntellimouse.Wheel") << "ctlIntellimouse" << "Wheel" << 1
                                               << B{"key", "delta", "x", "y"} << L{1, -120, 10, 20};
    }

    // Catches swapped event identifiers, parameters in an unexpected order, and arguments lost on
    // the way to the handler.
    void eventDelivered()
    {
        QFETCH(QString, className);
        QFETCH(QString, event);
        QFETCH(qint32, dispid);
        QFETCH(QByteArrayList, parameters);
        QFETCH(QVariantList, args);
        const std::unique_ptr<QWidget> control = createControl(className);
        const QString iface = Dispatch::eventInterfaceOf(control.get());
        QCOMPARE(Dispatch::dispatchId(iface, event), dispid);
        QCOMPARE(Dispatch::memberName(iface, dispid), event);
        const QMetaMethod signal = ownMethod(control->metaObject(), event.toLatin1(), QMetaMethod::Signal);
        QCOMPARE(signal.parameterNames(), parameters);

        QObject context;
        QList<QPair<qint32, QVariantList>> received;
        for (const Dispatch::Member &m : Dispatch::members(iface)) {
            const qint32 id = m.dispid;
            QVERIFY(Dispatch::connectEvent(control.get(), id, &context,
                                           [&received, id](const QVariantList &l) { received.append({id, l}); }));
        }
        // Signals are invokable: emit by name as a host without the header would.
        QVariantList values = args;
        QByteArrayList types;
        QGenericArgument g[4];
        for (int i = 0; i < values.size(); ++i) {
            QVERIFY(values[i].convert(signal.parameterMetaType(i)));
            types << signal.parameterTypeName(i);
            g[i] = QGenericArgument(types.at(i).constData(), values[i].data());
        }
        QVERIFY(QMetaObject::invokeMethod(control.get(), event.toLatin1().constData(), Qt::DirectConnection,
                                          g[0], g[1], g[2], g[3]));
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.at(0).first, dispid);
        QCOMPARE(received.at(0).second, values);
    }

    // Catches a NeedDates that does not reach the host, and a handler still called after its context died.
    void needDatesUntilContextDeleted()
    {
        Dayplex::ucAgenda agenda;
        QVariantList enable{true};
        Dispatch::invoke(&agenda, "Enabled", Call::PropertyPut, enable);
        auto *context = new QObject;
        QList<QVariantList> received;
        const QMetaObject::Connection c = Dispatch::connectEvent(
            &agenda, Dispatch::dispatchId("__ucAgenda", "NeedDates"), context,
            [&received](const QVariantList &l) { received.append(l); });
        QVariantList none;
        Dispatch::invoke(&agenda, 0x60030036, Call::Method, none);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.at(0), (QVariantList{agenda.FirstDay(), agenda.LastDay(),
                                               "AKT_Merkmale, AKT_Notiz, AD_Name"}));
        delete context;
        QVERIFY(!QObject::disconnect(c));
        Dispatch::invoke(&agenda, "Refresh", Call::Method, none);
        QCOMPARE(received.size(), 1);
    }

    // Catches a sink left dangling when the control dies before the context.
    void controlDeletedFirst()
    {
        QObject context;
        auto *mouse = new Dayplex::ctlIntellimouse;
        int calls = 0;
        const QMetaObject::Connection c =
            Dispatch::connectEvent(mouse, 1, &context, [&calls](const QVariantList &) { ++calls; });
        QVERIFY(QMetaObject::invokeMethod(mouse, "Wheel", Q_ARG(qint32, 0), Q_ARG(qint32, 120),
                                          Q_ARG(qint32, 1), Q_ARG(qint32, 2)));
        QCOMPARE(calls, 1);
        delete mouse;
        QVERIFY(!QObject::disconnect(c));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(context.children().isEmpty());
    }

    void connectEventError_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<qint32>("dispid");
        QTest::addColumn<bool>("withHandler");
        QTest::addColumn<int>("number");
        QTest::newRow("unknown event") << "ucAgenda" << 8 << true << 438;
        QTest::newRow("wheel event 7") << "ctlIntellimouse" << 7 << true << 438;
        QTest::newRow("no handler") << "ctlGantt" << 1 << false << 5;
        QTest::newRow("no class info") << "QObject" << 1 << true << 438;
    }

    // Catches connections to nothing that would silently never fire.
    void connectEventError()
    {
        QFETCH(QString, className);
        QFETCH(qint32, dispid);
        QFETCH(bool, withHandler);
        QFETCH(int, number);
        std::unique_ptr<QObject> control;
        if (className == "QObject")
            control = std::make_unique<QObject>();
        else
            control = createControl(className);
        QObject context;
        std::function<void(const QVariantList &)> handler;
        if (withHandler)
            handler = [](const QVariantList &) {};
        QCOMPARE(errorNumber([&] { Dispatch::connectEvent(control.get(), dispid, &context, handler); }),
                 number);
        QVERIFY(context.children().isEmpty());
    }
};

QTEST_MAIN(tst_Dispatch)
#include "tst_dispatch.moc"
