// Every public member of the three controls, called late-bound with hostile arguments. The
// calls are generated from the dispatch tables and the controls' signatures, so that a member
// added to a table is covered without touching this file.
#include "calendar/ucagenda_p.h"
#include "dialogs/cprintdialog.h"
#include "dialogs/modaldialog.h"
#include "gantt/ctlgantt_p.h"
#include "shared/clock.h"
#include "shared/ctools.h"

#include <dayplex/dayplex.h>

#include <QDialog>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPainter>
#include <QPushButton>
#include <QtTest>

#include <limits>
#include <memory>
#include "support/testmain.h"

using namespace Dayplex;
using Call = Dispatch::Call;
using Kind = Dispatch::Kind;

namespace {

const double kWed = toDate(QDate(2024, 3, 6)); // a Wednesday
const double kHour = 1.0 / 24;
const double kNow = kWed + 1 + 10 * kHour;

struct BadValue
{
    QString tag;
    QVariant value;
    bool wrongKind; // never a number, flag or date
};

const QVector<BadValue> &badValues()
{
    static const QVector<BadValue> values = [] {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        // One value per way a value can hurt; each row builds and paints a view, so more
        // values of the same kind would only cost time.
        return QVector<BadValue>{
            {QStringLiteral("NaN"), nan, false},
            {QStringLiteral("+infinity"), inf, false},
            {QStringLiteral("day after 9999-12-31"), kMaxDate + 1, false},
            {QStringLiteral("0"), 0, false},
            {QStringLiteral("INT_MAX"), std::numeric_limits<qint32>::max(), false},
            {QStringLiteral("2^40"), qint64(1) << 40, false},
            {QStringLiteral("text with NUL and line breaks"), QString::fromUtf16(u"a\0b\nc\r|", 7),
             false},
            {QStringLiteral("QStringList"), QStringList{QStringLiteral("1"), QStringLiteral("2")},
             true},
            {QStringLiteral("empty variant"), QVariant(), false},
        };
    }();
    return values;
}

// One parameter of a member as a dispatch call passes it.
struct Parameter
{
    QMetaType type;
    bool numeric; // a number, flag, date or in/out number
};

bool isNumeric(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::Bool:
    case QMetaType::ULongLong:
        return true;
    default:
        return QByteArray(type.name()) == "double*" || QByteArray(type.name()) == "qint32*"
               || QByteArray(type.name()) == "int*";
    }
}

QMetaMethod fullMethod(const QMetaObject *meta, const QByteArray &name)
{
    QMetaMethod best;
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        if (m.access() == QMetaMethod::Public && m.methodType() != QMetaMethod::Signal
            && m.name() == name && (!best.isValid() || m.parameterCount() > best.parameterCount()))
            best = m;
    }
    return best;
}

QVector<Parameter> parametersOf(const QMetaObject *meta, const QString &member, Call call)
{
    QVector<Parameter> result;
    const QByteArray name = member.toLatin1();
    if (call == Call::PropertyGet)
        return result;
    if (call == Call::PropertyPut) {
        const int index = meta->indexOfProperty(name.constData());
        if (index >= 0 && meta->property(index).isWritable()) {
            result.append({meta->property(index).metaType(),
                           isNumeric(meta->property(index).metaType())});
            return result;
        }
    }
    QByteArray methodName = name;
    if (call == Call::PropertyPut)
        methodName = "set" + name.left(1).toUpper() + name.mid(1);
    const QMetaMethod method = fullMethod(meta, methodName);
    for (int i = 0; i < method.parameterCount(); ++i)
        result.append({method.parameterMetaType(i), isNumeric(method.parameterMetaType(i))});
    return result;
}

// The calls each member of a dispatch table takes.
QVector<Call> callsOf(Kind kind)
{
    switch (kind) {
    case Kind::Method: return {Call::Method};
    case Kind::PropertyGet: return {Call::PropertyGet};
    case Kind::PropertyPut: return {Call::PropertyPut};
    case Kind::PropertyGetPut: return {Call::PropertyGet, Call::PropertyPut};
    case Kind::Event: return {};
    }
    return {};
}

const QMetaObject *metaObjectOf(const QString &interfaceName)
{
    if (interfaceName == QLatin1String("_ucAgenda"))
        return &ucAgenda::staticMetaObject;
    if (interfaceName == QLatin1String("_ctlGantt"))
        return &ctlGantt::staticMetaObject;
    return &ctlIntellimouse::staticMetaObject;
}

// Arguments that the member accepts, where the plain value of each type would not do.
QVariantList validArguments(const QString &interfaceName, const QString &member, Call call,
                            const QVector<Parameter> &parameters, QPainter *painter)
{
    const QString key = interfaceName + QLatin1Char('.') + member
                        + (call == Call::PropertyPut ? QStringLiteral("=") : QString());
    static const QHash<QString, QVariantList> table = {
        {QStringLiteral("_ucAgenda.AddDate"),
         {QStringLiteral("N1"), QStringLiteral("neu"), kWed + 14 * kHour, kWed + 15 * kHour,
          false, 0, false, 0xFFFFFF, false, false}},
        {QStringLiteral("_ucAgenda.DateAbrunden"), {kWed + 9.3 * kHour, 0.25 * kHour}},
        {QStringLiteral("_ucAgenda.DrawDragDrop"), {10, 10, 50, 20}},
        {QStringLiteral("_ucAgenda.GetTerminIndices"),
         {kWed + 9 * kHour, kWed + 10 * kHour, 0, 0, 0, 0, 1}},
        {QStringLiteral("_ucAgenda.MousePointer"), {0}},
        {QStringLiteral("_ucAgenda.PrintAnsicht"),
         {QVariant::fromValue(painter), 0, 0, 400, 300}},
        {QStringLiteral("_ucAgenda.Scroll"), {0}},
        {QStringLiteral("_ucAgenda.SelectedDateMove"), {kWed + 2 + 9 * kHour, 1}},
        {QStringLiteral("_ucAgenda.SetFilledRange"), {kWed, kWed + 2}},
        {QStringLiteral("_ucAgenda.SetDisplayedRange"), {kWed, kWed + 2, false, true}},
        {QStringLiteral("_ucAgenda.SpaltenBelegen"), {0, 18, 20, QStringLiteral("S1")}},
        {QStringLiteral("_ucAgenda.ZellenBelegungEintragen"), {0, 1, 18, 20, QStringLiteral("S1")}},
        {QStringLiteral("_ucAgenda.AlignOnWeekday="), {2}},
        {QStringLiteral("_ucAgenda.backcolor="), {kWed + 9 * kHour, 0x00FF00}},
        {QStringLiteral("_ucAgenda.HelpFile="), {QStringLiteral("hilfe.chm")}},
        {QStringLiteral("_ucAgenda.TimeRaster="), {15.0 / 1440}},
        {QStringLiteral("_ucAgenda.FirstTime="), {7 * kHour}},
        {QStringLiteral("_ucAgenda.SelectionStart="), {kWed + 9 * kHour}},
        {QStringLiteral("_ucAgenda.SelectionEnd="), {kWed + 10 * kHour}},
        {QStringLiteral("_ucAgenda.DayInfoHeight="), {2}},
        {QStringLiteral("_ucAgenda.MinDateHeight="), {2}},
        {QStringLiteral("_ucAgenda.SelectedDate="), {QStringLiteral("K1")}},
        {QStringLiteral("_ucAgenda.Options="),
         {QStringLiteral("cContainer 1\nblnConfirmChanges:b=0\n")}},
        {QStringLiteral("_ctlGantt.AddDate"),
         {QStringLiteral("N1"), QStringLiteral("neu"), kWed + 14 * kHour, kWed + 15 * kHour,
          false, 0, false, 0xFFFFFF, false, QStringLiteral("M1"), false, false}},
        {QStringLiteral("_ctlGantt.AddMerkmal"), {QStringLiteral("Carla"), QStringLiteral("M3")}},
        {QStringLiteral("_ctlGantt.Drag"), {10, 10, 50, 20}},
        {QStringLiteral("_ctlGantt.GetidxGanttEintrag"), {100, 60}},
        {QStringLiteral("_ctlGantt.GetMerkmalIndex"), {60}},
        {QStringLiteral("_ctlGantt.isIntervallSichtbar"), {kWed, kWed + 1}},
        {QStringLiteral("_ctlGantt.isTerminFrei"), {kWed + 14 * kHour, kWed + 15 * kHour}},
        {QStringLiteral("_ctlGantt.isTerminFreiMerkmal"),
         {kWed + 14 * kHour, kWed + 15 * kHour, QStringLiteral("M1")}},
        {QStringLiteral("_ctlGantt.MousePointer"), {0}},
        {QStringLiteral("_ctlGantt.PrintAnsicht"), {QVariant::fromValue(painter), 0, 0, 400, 300}},
        {QStringLiteral("_ctlGantt.Scroll"), {0}},
        {QStringLiteral("_ctlGantt.SelectedDateMove"), {kWed + 2 + 9 * kHour, 1}},
        {QStringLiteral("_ctlGantt.SetDisplayedRange"), {kWed, kWed + 6, false, true}},
        {QStringLiteral("_ctlGantt.SetFilledRange"), {kWed, kWed + 6}},
        {QStringLiteral("_ctlGantt.TerminVorSchlagEintragen"),
         {kWed + 14 * kHour, kWed + 15 * kHour}},
        {QStringLiteral("_ctlGantt.ZeilenFarbe"), {60, 0x00FF00}},
        {QStringLiteral("_ctlGantt.AlignOnWeekday="), {2}},
        {QStringLiteral("_ctlGantt.SelectedDate="), {QStringLiteral("B1")}},
        {QStringLiteral("_ctlGantt.mStartDate="), {kWed}},
        {QStringLiteral("_ctlGantt.mEndDate="), {kWed + 6}},
        {QStringLiteral("_ctlGantt.Options="),
         {QStringLiteral("cContainer 1\nblnConfirmChanges:b=0\n")}},
    };
    QVariantList args = table.value(key);
    // Members without an entry take a plain value of each type.
    for (qsizetype i = args.size(); i < parameters.size(); ++i) {
        const QMetaType type = parameters.at(i).type;
        if (type.id() == QMetaType::Double || QByteArray(type.name()) == "double*")
            args.append(kWed + 10 * kHour);
        else if (type.id() == QMetaType::Bool)
            args.append(false);
        else if (type.id() == QMetaType::QString)
            args.append(QStringLiteral("K1"));
        else if (type.id() == QMetaType::ULongLong)
            args.append(QVariant::fromValue(WId(0)));
        else if (type == QMetaType::fromType<QPainter *>())
            args.append(QVariant::fromValue(painter));
        else
            args.append(1);
    }
    return args;
}

// What the host can read back, and the stored records: a failing call must leave all of it.
QVariantList snapshotOf(QObject *control)
{
    QVariantList s;
    if (auto *agenda = qobject_cast<ucAgenda *>(control)) {
        const AppointmentStore &store = ucAgendaPrivate::get(agenda)->data.store;
        for (qint32 i = 1; i <= store.count(); ++i)
            s << store.at(i).dsn << store.at(i).dateStart << store.at(i).dateEnd;
        s << agenda->Options() << agenda->FirstDay() << agenda->LastDay() << agenda->SelectedDate()
          << agenda->SelectionStart() << agenda->SelectionEnd() << agenda->TimeRaster()
          << agenda->FirstTime() << agenda->DayInfoHeight() << agenda->MinDateHeight()
          << agenda->ConfirmChanges();
    } else if (auto *gantt = qobject_cast<ctlGantt *>(control)) {
        const GanttModel &model = ctlGanttPrivate::get(gantt)->model;
        for (qint32 i = 1; i <= model.dateCount(); ++i)
            s << model.date(i).dsn << model.date(i).von << model.date(i).bis << model.date(i).merkmaldsn;
        s << model.rowCount() << gantt->Options() << gantt->FirstDay() << gantt->LastDay()
          << gantt->SelectedDate() << gantt->OptimaleZeilenhoehe() << gantt->ConfirmChanges();
    }
    return s;
}

// Empty when the view is in a usable state; otherwise what is broken. The Gantt view's range
// fields are plain fields a host may even set to an unusable range.
QString invariantProblem(QObject *control, const QString &member, bool optionsChanged)
{
    double first = 0, last = 0;
    qint32 maxSpan = 100;
    try {
        if (auto *agenda = qobject_cast<ucAgenda *>(control)) {
            first = agenda->FirstDay();
            last = agenda->LastDay();
            maxSpan = 13;
            if (!(agenda->TimeRaster() > 0 && agenda->TimeRaster() <= 1))
                return QStringLiteral("TimeRaster %1 is not a usable raster").arg(agenda->TimeRaster());
            if (optionsChanged)
                ucAgenda().setOptions(agenda->Options());
        } else if (auto *gantt = qobject_cast<ctlGantt *>(control)) {
            first = gantt->FirstDay();
            last = gantt->LastDay();
            if (optionsChanged)
                ctlGantt().setOptions(gantt->Options());
            if (member.startsWith(QLatin1String("m")))
                return QString();
        } else {
            return QString();
        }
    } catch (const Error &e) {
        return QStringLiteral("the view refuses its own Options: ") + e.message();
    }
    if (!isValidDate(first) || !isValidDate(last) || !(first <= last + 1)
        || !(last - first <= maxSpan + 1))
        return QStringLiteral("the range %1 .. %2 is not usable").arg(first).arg(last);
    return QString();
}

// Three appointments on the displayed Wednesday to Friday, "K1" selected.
std::unique_ptr<ucAgenda> makeAgenda()
{
    auto agenda = std::make_unique<ucAgenda>();
    agenda->resize(200, 150);
    agenda->setAlignOnWeekday(2);
    double last = kWed + 2;
    agenda->SetDisplayedRange(kWed, &last, false, false);
    agenda->AddDate(QStringLiteral("K1"), QStringLiteral("Besprechung"), kWed + 1 + 9 * kHour,
                    kWed + 1 + 10.5 * kHour, false, 0, false, 0x99FFFF, false);
    agenda->AddDate(QStringLiteral("K2"), QStringLiteral("Messe"), kWed, kWed + 1, true, 0,
                    false, 0xFFCC99, false);
    agenda->AddDate(QStringLiteral("K3"), QStringLiteral("gesperrt"), kWed + 2 + 8 * kHour,
                    kWed + 2 + 12 * kHour, false, 0, false, 0xCCCCCC, true);
    agenda->setSelectedDate(QStringLiteral("K1"));
    agenda->paintToImage(QSize(200, 150));
    return agenda;
}

// Two participants with bars in a week from Wednesday, "B1" selected.
std::unique_ptr<ctlGantt> makeGantt()
{
    auto gantt = std::make_unique<ctlGantt>();
    gantt->resize(200, 150);
    double last = kWed + 6;
    gantt->SetDisplayedRange(kWed, &last, false, false);
    gantt->AddMerkmal(QStringLiteral("Anna"), QStringLiteral("M1"));
    gantt->AddMerkmal(QStringLiteral("Bert"), QStringLiteral("M2"));
    gantt->AddDate(QStringLiteral("B1"), QStringLiteral("Montage"), kWed + 1 + 9 * kHour,
                   kWed + 1 + 15 * kHour, false, 0, false, 0x99FFFF, false, QStringLiteral("M1"),
                   false);
    gantt->AddDate(QStringLiteral("B2"), QStringLiteral("Urlaub"), kWed + 2, kWed + 4, true, 0,
                   false, 0xFFCC99, false, QStringLiteral("M2"), false);
    gantt->AddDate(QStringLiteral("B3"), QStringLiteral("gesperrt"), kWed + 3 + 8 * kHour,
                   kWed + 3 + 12 * kHour, false, 0, false, 0xCCCCCC, true, QStringLiteral("M1"),
                   false);
    gantt->setSelectedDate(QStringLiteral("B1"));
    gantt->paintToImage(QSize(200, 150));
    return gantt;
}

std::unique_ptr<QWidget> makeControl(const QString &interfaceName)
{
    if (interfaceName == QLatin1String("_ucAgenda"))
        return makeAgenda();
    if (interfaceName == QLatin1String("_ctlGantt"))
        return makeGantt();
    return std::make_unique<ctlIntellimouse>();
}

QStringList controlInterfaces()
{
    return {QStringLiteral("_ucAgenda"), QStringLiteral("_ctlGantt"),
            QStringLiteral("_ctlIntellimouse")};
}

const char *callName(Call call)
{
    switch (call) {
    case Call::Method: return "method";
    case Call::PropertyGet: return "get";
    case Call::PropertyPut: return "put";
    }
    return "?";
}

struct CallSpec
{
    QString interfaceName;
    QString member;
    Call call;
    int position;
    int bad;
};

// For each member and call kind: the valid call, then each bad value in each parameter
// position with the others valid. A member without parameters gets each bad value as a
// surplus argument.
QVector<CallSpec> generatedCalls()
{
    QVector<CallSpec> calls;
    const int badCount = int(badValues().size());
    for (const QString &interfaceName : controlInterfaces()) {
        const QMetaObject *meta = metaObjectOf(interfaceName);
        for (const Dispatch::Member &member : Dispatch::members(interfaceName)) {
            for (const Call call : callsOf(member.kind)) {
                const int count = int(parametersOf(meta, member.name, call).size());
                calls.append({interfaceName, member.name, call, -1, -1});
                for (int position = 0; position < qMax(count, 1); ++position)
                    for (int bad = 0; bad < badCount; ++bad)
                        calls.append({interfaceName, member.name, call, position, bad});
            }
        }
    }
    return calls;
}

} // namespace

Q_DECLARE_METATYPE(Dayplex::Dispatch::Call)

class tst_BadArguments : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void badArgumentEndsInErrorOrRepair_data();
    void badArgumentEndsInErrorOrRepair();

private:
    QImage m_page{800, 600, QImage::Format_RGB32};
    QPainter m_painter;        // active: the print target of PrintAnsicht
    QPainter m_idlePainter;    // never begun
    ModalRunner m_previousRunner;
    cPrintDialog::Handler m_previousPrintHandler;
    cTools::PromptHandler m_previousPrompt;
};

void tst_BadArguments::initTestCase()
{
    m_page.fill(Qt::white);
    QVERIFY(m_painter.begin(&m_page));
    setCurrentDateTimeForTesting(kNow);
    // Nothing may wait for a user: dialogs end with Abbrechen, print dialogs cancel, questions
    // are answered no.
    m_previousRunner = setModalRunner([](QDialog &dialog) {
        if (auto *cancel = dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel")))
            cancel->click();
        else
            dialog.reject();
    });
    m_previousPrintHandler = cPrintDialog::setHandler(cPrintDialog::cancel());
    m_previousPrompt = cTools::setPromptHandler([](const Prompt &) { return false; });
}

void tst_BadArguments::cleanupTestCase()
{
    m_painter.end();
    setCurrentDateTimeForTesting(0);
    setModalRunner(m_previousRunner);
    cPrintDialog::setHandler(m_previousPrintHandler);
    cTools::setPromptHandler(m_previousPrompt);
}

void tst_BadArguments::badArgumentEndsInErrorOrRepair_data()
{
    QTest::addColumn<QString>("interfaceName");
    QTest::addColumn<QString>("member");
    QTest::addColumn<Call>("call");
    QTest::addColumn<int>("position"); // past the last parameter: a surplus argument
    QTest::addColumn<int>("bad");      // index into badValues(), -1 for the valid call

    const QVector<BadValue> &values = badValues();
    for (const CallSpec &c : generatedCalls()) {
        const QString tag = c.interfaceName + QLatin1Char('.') + c.member + QLatin1Char(' ')
                            + QLatin1String(callName(c.call))
                            + (c.bad < 0 ? QStringLiteral(" valid")
                                         : QStringLiteral(" arg %1 = %2")
                                               .arg(c.position + 1)
                                               .arg(values.at(c.bad).tag));
        QTest::newRow(qPrintable(tag)) << c.interfaceName << c.member << c.call << c.position
                                       << c.bad;
    }
}

// Catches a member that crashes, throws anything but Dayplex::Error, changes stored data when
// it fails, or accepts a hostile value into a state the view cannot show or store.
void tst_BadArguments::badArgumentEndsInErrorOrRepair()
{
    QFETCH(QString, interfaceName);
    QFETCH(QString, member);
    QFETCH(Call, call);
    QFETCH(int, position);
    QFETCH(int, bad);

    const QMetaObject *meta = metaObjectOf(interfaceName);
    const qint32 dispid = Dispatch::dispatchId(interfaceName, member);
    const QVector<Parameter> parameters = parametersOf(meta, member, call);
    QVariantList args = validArguments(interfaceName, member, call, parameters, &m_painter);
    QCOMPARE(args.size(), parameters.size());

    const QVector<BadValue> &values = badValues();
    bool wrongKindForNumber = false;
    if (bad >= 0) {
        if (position < args.size()) {
            args[position] = values.at(bad).value;
            wrongKindForNumber = values.at(bad).wrongKind && parameters.at(position).numeric;
        } else {
            args.append(values.at(bad).value);
        }
    }

    std::unique_ptr<QWidget> control = makeControl(interfaceName);
    QVector<QVariantList> dateChanges;
    if (qobject_cast<ucAgenda *>(control.get()) || qobject_cast<ctlGantt *>(control.get())) {
        Dispatch::connectEvent(control.get(), 1, control.get(),
                               [&dateChanges](const QVariantList &a) { dateChanges.append(a); });
    }
    const QVariantList before = snapshotOf(control.get());
    const QVariant optionsBefore = control->property("Options");

    int errorNumber = 0;
    QString errorText;
    try {
        Dispatch::invoke(control.get(), dispid, call, args);
    } catch (const Error &e) {
        errorNumber = e.number();
        errorText = e.message();
    } catch (const std::exception &e) {
        QFAIL(qPrintable(QStringLiteral("threw something other than Dayplex::Error: ")
                         + QString::fromLocal8Bit(e.what())));
    } catch (...) {
        QFAIL("threw something other than Dayplex::Error");
    }

    if (bad < 0) {
        // The valid call must go through, so that each bad value is the only fault of its call.
        QVERIFY2(errorNumber == 0, qPrintable(QStringLiteral("the valid call fails: %1 %2")
                                                  .arg(errorNumber)
                                                  .arg(errorText)));
    }
    if (wrongKindForNumber)
        QVERIFY2(errorNumber != 0, "a container was taken for a number");
    if (errorNumber != 0)
        QVERIFY2(!errorText.trimmed().isEmpty(), "the error has no message");

    for (const QVariantList &change : std::as_const(dateChanges))
        QVERIFY2(change.value(1).toDouble() <= change.value(2).toDouble(),
                 "DateChanged reports a start after its end");

    if (errorNumber != 0)
        QVERIFY2(snapshotOf(control.get()) == before, "the call failed but changed the view");
    const QString broken = invariantProblem(control.get(), member,
                                            control->property("Options") != optionsBefore);
    QVERIFY2(broken.isEmpty(), qPrintable(broken));

    // The view must still paint after whatever the call did.
    try {
        if (auto *agenda = qobject_cast<ucAgenda *>(control.get()))
            QVERIFY(!agenda->paintToImage(QSize(200, 150)).isNull());
        else if (auto *gantt = qobject_cast<ctlGantt *>(control.get()))
            QVERIFY(!gantt->paintToImage(QSize(200, 150)).isNull());
    } catch (const Error &e) {
        QFAIL(qPrintable(QStringLiteral("the view cannot paint any more: ") + e.message()));
    }
}

DAYPLEX_TEST_MAIN(tst_BadArguments)
#include "tst_badarguments.moc"
