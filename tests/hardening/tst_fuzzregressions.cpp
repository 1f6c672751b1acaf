// Replays every input the options fuzzer keeps (fuzz/regressions/) and its seeds (fuzz/corpus/)
// through the same checks the fuzzer applies, so that a fixed finding stays fixed without
// clang or libFuzzer.
#include "../../fuzz/optionsharness.h"

#include "dialogs/cprintdialog.h"
#include "shared/ctools.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

QDir fuzzFolder(const char *name)
{
    return QDir(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../fuzz/") + QLatin1String(name));
}

void addFilesOf(const QDir &dir)
{
    QTest::addColumn<QString>("path");
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << dir.filePath(file);
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
    addFilesOf(fuzzFolder("regressions"));
    const QDir seeds = fuzzFolder("corpus");
    for (const QString &file : seeds.entryList(QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(QStringLiteral("seed ") + file)) << seeds.filePath(file);
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

QTEST_MAIN(tst_FuzzRegressions)
#include "tst_fuzzregressions.moc"
