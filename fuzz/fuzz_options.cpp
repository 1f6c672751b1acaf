// libFuzzer target: one input is an options or layout text, handed to both views and both
// option dialogs. A crash, a sanitizer report, an exception other than Dayplex::Error or a
// broken round trip (reported by the harness) is a finding.
#include "fuzzapplication.h"
#include "optionsharness.h"

#include "dialogs/cprintdialog.h"
#include "shared/ctools.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static char name[] = "fuzz_options";
    DayplexFuzz::startApplication(name);
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
