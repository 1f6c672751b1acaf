#ifndef DAYPLEX_TESTMAIN_H
#define DAYPLEX_TESTMAIN_H

// Suites that link the same libraries share one test program, so that each program is linked
// and run through moc once. Each suite registers under the name CTest knows it by, <area>_<unit>
// for tests/<area>/tst_<unit>.cpp, read from its own path: no flag per file, so that the suites
// of a program can be compiled in batches. The program runs the suite named by its first
// argument.
#include <QObject>

#include <functional>
#include <memory>

namespace Dayplex::Testing {

bool registerSuite(const char *sourcePath, std::function<std::unique_ptr<QObject>()> make);

} // namespace Dayplex::Testing

// The flag's name carries the class's, which is unique in a program, so that several suites
// fit in one batch.
#define DAYPLEX_TEST_MAIN(TestClass)                                                               \
    static const bool dayplexSuiteRegistered##TestClass = Dayplex::Testing::registerSuite(        \
        __FILE__, [] { return std::unique_ptr<QObject>(new TestClass); });

#endif
