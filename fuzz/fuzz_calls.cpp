// libFuzzer target: one input is a program of public calls on both views, with paints,
// resizes, scroll-bar moves, mouse gestures, keys and host handlers that call back into the
// views from their events (callsharness.h). A crash, a sanitizer report, an exception out of
// an event or other than Dayplex::Error out of a call, or a view left showing an impossible
// range is a finding; so is a run over one second. The second is counted in processor time
// of the thread, so that other work on a shared machine does not make findings; a run that
// never returns is left to libFuzzer's -timeout.
//
// The views are kept from one program to the next and brought back to rest after each
// (callsharness.h). DAYPLEX_FUZZ_CHECK_KEPT=1 runs every input on the kept views and again on
// fresh ones and stops when the two runs differ in a problem, an answer or a picture: the check
// that a finding replays the same in a fresh process and in the regression test.
#include "callsharness.h"
#include "fuzzapplication.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr double kWatchdogSeconds = 1.0;

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static char name[] = "fuzz_calls";
    DayplexFuzz::startApplication(name);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray program(reinterpret_cast<const char *>(data), qsizetype(size));
    static const bool check = qEnvironmentVariableIsSet("DAYPLEX_FUZZ_CHECK_KEPT");
    const double start = threadSeconds();
    const DayplexFuzz::CallRun kept = DayplexFuzz::runCallProgram(program, DayplexFuzz::Views::Kept, check);
    const double spent = threadSeconds() - start;
    QString problem = kept.problem;
    if (check) {
        const DayplexFuzz::CallRun fresh = DayplexFuzz::runCallProgram(program, DayplexFuzz::Views::Fresh, true);
        if (fresh.problem != kept.problem || fresh.fingerprint != kept.fingerprint)
            problem = QStringLiteral("the program runs differently on kept views (%1) than on fresh ones (%2)")
                          .arg(kept.problem.isEmpty() ? QStringLiteral("clean") : kept.problem,
                               fresh.problem.isEmpty() ? QStringLiteral("clean") : fresh.problem);
    }
    if (problem.isEmpty() && spent > kWatchdogSeconds)
        problem = QStringLiteral("the run took %1 s, more than the watchdog's %2 s").arg(spent).arg(kWatchdogSeconds);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "calls fuzzer: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
