// libFuzzer target: one input is an options or layout text, handed to both views and both
// option dialogs. A crash, a sanitizer report, an exception other than Dayplex::Error or a
// broken round trip (reported by the harness) is a finding.
#include "optionsharness.h"

#include "dialogs/cprintdialog.h"
#include "shared/ctools.h"

#include <QApplication>
#include <QByteArray>

#include <cstdio>
#include <cstdlib>

namespace {

// Warnings about odd fonts or sizes would drown libFuzzer's own output; fatal messages still abort.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    // QApplication edits the argument list it gets; libFuzzer's own must stay intact.
    static int argc = 1;
    static char name[] = "fuzz_options";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    DayplexFuzz::installModalAnswers();
    Dayplex::cPrintDialog::setHandler(Dayplex::cPrintDialog::cancel());
    Dayplex::cTools::setPromptHandler([](const Dayplex::Prompt &) { return false; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString problem = DayplexFuzz::exerciseOptionsString(text);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "options fuzzer: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
