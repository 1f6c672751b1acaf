// The dispatch tables of the three controls: every member bound, results and in/out arguments
// carried both ways, and events delivered to a host that binds by identifier.
#include "support/testmain.h"

#include <dayplex/dayplex.h>

#include <QMetaMethod>
#include <QMetaProperty>
#include <QtTest>

#include <memory>

using Dayplex::Dispatch;
using Call = Dispatch::Call;
using Kind = Dispatch::Kind;

Q_DECLARE_METATYPE(Dispatch::Call)

namespace {

const double kWed = Dayplex::toDate(QDate(2024, 3, 6)); // a Wednesday
const double kHour = 1.0 / 24;

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
        for (const QMetaObject *meta : {&Dayplex::ucAgenda::staticMetaObject,
                                        &Dayplex::ctlGantt::staticMetaObject,
                                        &Dayplex::ctlIntellimouse::staticMetaObject}) {
            const QByteArray cls = QByteArray(meta->className()).mid(9); // past "Dayplex::"
            for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
                const QMetaMethod m = meta->method(i);
                if (m.attributes() & QMetaMethod::Cloned)
                    continue;
                const char *what = m.methodType() == QMetaMethod::Signal ? "signal" : "method";
                QTest::addRow("%s.%s", cls.constData(), m.name().constData())
                    << QString(cls) << QString(m.name()) << what;
            }
            for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
                QTest::addRow("%s.%s", cls.constData(), meta->property(i).name())
                    << QString(cls) << QString(meta->property(i).name()) << "property";
        }
    }

    // Catches a member added to a class but missing from its interface, so hosts could not bind it.
    void classMemberIsInTable()
    {
        QFETCH(QString, className);
        QFETCH(QString, name);
        QFETCH(QString, what);
        const std::unique_ptr<QWidget> control = createControl(className);
        const QString iface = what == "signal" ? Dispatch::eventInterfaceOf(control.get())
                                               : Dispatch::interfaceOf(control.get());
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
            const QMetaObject *meta = control->metaObject();
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
        QTest::addColumn<QVariantList>("argsAfter"); // empty: as passed
        const QDateTime at0847(QDate(2024, 3, 6), QTime(8, 47));
        QTest::newRow("MaxLong") << "ucAgenda" << "MaxLong" << M << L{3, 7} << QVariant(7) << L{};
        QTest::newRow("DateAbrunden date value") << "ucAgenda" << "DateAbrunden" << M
                                                 << L{at0847, 15.0 / 1440}
                                                 << QVariant(kWed + 8.75 * kHour) << L{};
        QTest::newRow("GetZeilenIndex") << "ucAgenda" << "GetZeilenIndex" << M
                                        << L{kWed + 8 * kHour + 29.0 / 1440} << QVariant(16)
                                        << L{};
        QTest::newRow("TerminDSN") << "ucAgenda" << "TerminDSN" << G << L{} << QVariant("K1|")
                                   << L{};
        QTest::newRow("gantt interval visible") << "ctlGantt" << "isIntervallSichtbar" << M
                                                << L{kWed + 1, kWed + 2} << QVariant(true) << L{};
        QTest::newRow("in/out last day: 20 days cut to 14")
            << "ucAgenda" << "SetDisplayedRange" << M << L{kWed, kWed + 20} << QVariant()
            << L{kWed, kWed + 13};
    }

    // Catches identifiers bound to the wrong member, lost argument conversions and results,
    // and in/out arguments passed by value or not copied back into the list.
    void invokeResult()
    {
        QFETCH(QString, className);
        QFETCH(QString, member);
        QFETCH(Call, call);
        QFETCH(QVariantList, args);
        QFETCH(QVariant, expected);
        QFETCH(QVariantList, argsAfter);
        const std::unique_ptr<QWidget> control = createControl(className);
        QVariantList byId = args;
        const qint32 id = Dispatch::dispatchId(Dispatch::interfaceOf(control.get()), member);
        compareResult(Dispatch::invoke(control.get(), id, call, byId), expected);
        QVariantList byName = args;
        compareResult(Dispatch::invoke(control.get(), member, call, byName), expected);
        QCOMPARE(byName, argsAfter.isEmpty() ? args : argsAfter);
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
        QTest::newRow("ctlGantt.NeedDates: its own number") << g << "NeedDates" << 5 << need
                                                            << needArgs;
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
        QVERIFY(QMetaObject::invokeMethod(control.get(), event.toLatin1().constData(),
                                          Qt::DirectConnection, g[0], g[1], g[2], g[3]));
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.at(0).first, dispid);
        QCOMPARE(received.at(0).second, values);
    }

};

DAYPLEX_TEST_MAIN(tst_Dispatch)
#include "tst_dispatch.moc"
