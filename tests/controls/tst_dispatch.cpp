#include <dayplex/dayplex.h>

#include <QMetaEnum>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QtTest>

#include <memory>
#include "support/testing.h"
#include "support/testmain.h"

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
        QTest::newRow("DateAbrunden date value") << "ucAgenda" << "DateAbrunden" << M
                                                 << L{at0847, 15.0 / 1440}
                                                 << QVariant(kWed + 8.75 * kHour);
        QTest::newRow("GetZeilenIndex") << "ucAgenda" << "GetZeilenIndex" << M
                                        << L{kWed + 8 * kHour + 29.0 / 1440} << QVariant(16);
        QTest::newRow("TerminDSN") << "ucAgenda" << "TerminDSN" << G << L{} << QVariant("K1|");
        QTest::newRow("gantt interval visible") << "ctlGantt" << "isIntervallSichtbar" << M
                                                << L{kWed + 1, kWed + 2} << QVariant(true);
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
        QTest::newRow("20 days cut to 14") << L{kWed, kWed + 20} << kWed + 13 << kWed + 13;
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
        QTest::newRow("AddDate 8 arguments") << a << "AddDate" << 0 << M
                                             << L{"K", "", kWed, kWed, false, 0, false, 0} << 450;
        QTest::newRow("text for a number") << a << "MaxLong" << 0 << M << L{"abc", 1} << 13;
        QTest::newRow("number beyond 32 bits") << a << "MaxLong" << 0 << M << L{1e10, 1} << 6;
        QTest::newRow("unknown id") << a << "" << 0x12345 << M << L{} << 438;
        QTest::newRow("put on get-only") << a << "FirstDay" << 0 << P << L{kWed} << 438;
        QTest::newRow("calendar member on gantt") << "ctlGantt" << "TerminDSN" << 0 << G << L{} << 438;
        QTest::newRow("member: division by zero") << a << "DateAbrunden" << 0 << M << L{kWed, 0} << 11;
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

};

DAYPLEX_TEST_MAIN(tst_Dispatch)
#include "tst_dispatch.moc"
