// Replays every input the two fuzzers keep (fuzz/regressions/, fuzz/regressions/calls/) and
// their seeds (fuzz/corpus/, fuzz/corpus_calls/) through the same checks the fuzzers apply, so
// that a fixed finding stays fixed without clang or libFuzzer.
#include "../../fuzz/callsharness.h"
#include "../../fuzz/optionsharness.h"

#include "dialogs/cprintdialog.h"
#include "shared/ctools.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include "support/testmain.h"

namespace {

QDir fuzzFolder(const char *name)
{
    return QDir(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../fuzz/") + QLatin1String(name));
}

void addFilesOf(const QDir &dir, const QString &prefix = QString())
{
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    for (const QString &file : files)
        QTest::newRow(qPrintable(prefix + file)) << dir.filePath(file);
}

// The kept findings of one fuzzer, then its seeds.
void addKeptAndSeeds(const char *kept, const char *seeds)
{
    QTest::addColumn<QString>("path");
    addFilesOf(fuzzFolder(kept));
    addFilesOf(fuzzFolder(seeds), QStringLiteral("seed "));
}

// Read as the fuzzer reads its input: the bytes as UTF-8.
QString contentOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

class tst_FuzzRegressions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void keptInputPassesEveryConsumer_data();
    void keptInputPassesEveryConsumer();
    void seedIsAcceptedByBothViews_data();
    void seedIsAcceptedByBothViews();
    void keptCallProgramRunsClean_data();
    void keptCallProgramRunsClean();

private:
    Dayplex::ModalRunner m_previousRunner;
    Dayplex::cPrintDialog::Handler m_previousPrintHandler;
    Dayplex::cTools::PromptHandler m_previousPrompt;
};

void tst_FuzzRegressions::initTestCase()
{
    QVERIFY2(fuzzFolder("regressions").exists(), "fuzz/regressions is missing");
    QVERIFY2(fuzzFolder("corpus").exists(), "fuzz/corpus is missing");
    m_previousRunner = Dayplex::setModalRunner(DayplexFuzz::pressButtonOf);
    m_previousPrintHandler = Dayplex::cPrintDialog::setHandler(Dayplex::cPrintDialog::cancel());
    m_previousPrompt = Dayplex::cTools::setPromptHandler([](const Dayplex::Prompt &) {
        return false;
    });
}

void tst_FuzzRegressions::cleanupTestCase()
{
    Dayplex::setModalRunner(m_previousRunner);
    Dayplex::cPrintDialog::setHandler(m_previousPrintHandler);
    Dayplex::cTools::setPromptHandler(m_previousPrompt);
}

void tst_FuzzRegressions::keptInputPassesEveryConsumer_data()
{
    addKeptAndSeeds("regressions", "corpus");
}

// Catches a fault the fuzzer once found coming back: a crash, a stray exception, a refused
// text that changed a view, or an options or layout string that does not survive its round trip.
void tst_FuzzRegressions::keptInputPassesEveryConsumer()
{
    QFETCH(QString, path);
    const QString problem = DayplexFuzz::exerciseOptionsString(contentOf(path));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void tst_FuzzRegressions::seedIsAcceptedByBothViews_data()
{
    QTest::addColumn<QString>("path");
    addFilesOf(fuzzFolder("corpus"));
}

// Catches seeds that no longer are valid options strings: the fuzzer would then start from
// refused texts and never reach the views' option handling.
void tst_FuzzRegressions::seedIsAcceptedByBothViews()
{
    QFETCH(QString, path);
    const QString text = contentOf(path);
    Dayplex::ucAgenda agenda;
    Dayplex::ctlGantt gantt;
    try {
        agenda.setOptions(text);
        gantt.setOptions(text);
    } catch (const Dayplex::Error &e) {
        QFAIL(qPrintable(e.message()));
    }
}

void tst_FuzzRegressions::keptCallProgramRunsClean_data()
{
    addKeptAndSeeds("regressions/calls", "corpus_calls");
}

// Catches a program of calls, gestures and re-entrant host handlers that once crashed a view,
// let an exception out of a call or an event, or left a view showing an impossible range.
void tst_FuzzRegressions::keptCallProgramRunsClean()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString problem = DayplexFuzz::runCallProgram(file.readAll());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

DAYPLEX_TEST_MAIN(tst_FuzzRegressions)
#include "tst_fuzzregressions.moc"
