#ifndef DAYPLEX_TESTMAIN_H
#define DAYPLEX_TESTMAIN_H

// Suites that link the same libraries share one test program, so that each program is linked
// and run through moc once. Each suite registers under the name CTest knows it by (DAYPLEX_SUITE,
// set per source file); the program runs the suite named by its first argument.
#include <QObject>

#include <functional>
#include <memory>

namespace Dayplex::Testing {

bool registerSuite(const char *name, std::function<std::unique_ptr<QObject>()> make);

} // namespace Dayplex::Testing

#define DAYPLEX_TEST_MAIN(TestClass)                                                               \
    static const bool dayplexSuiteRegistered = Dayplex::Testing::registerSuite(                   \
        DAYPLEX_SUITE, [] { return std::unique_ptr<QObject>(new TestClass); });

#endif
