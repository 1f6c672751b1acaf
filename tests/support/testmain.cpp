// The main of a shared test program: `program <suite> [QtTest options]`.
#include "support/testmain.h"

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <map>
#include <vector>

namespace Dayplex::Testing {

namespace {

std::map<QByteArray, std::function<std::unique_ptr<QObject>()>> &suites()
{
    static std::map<QByteArray, std::function<std::unique_ptr<QObject>()>> registered;
    return registered;
}

// ".../tests/calendar/tst_hittest.cpp" registers as "calendar_hittest", as tests/CMakeLists.txt
// names the CTest test.
QByteArray suiteName(const char *sourcePath)
{
    const QList<QByteArray> parts = QByteArray(sourcePath).replace('\\', '/').split('/');
    QByteArray unit = parts.last();
    unit.truncate(unit.lastIndexOf('.'));
    if (unit.startsWith("tst_"))
        unit.remove(0, 4);
    const QByteArray area = parts.size() > 1 ? parts.at(parts.size() - 2) : QByteArray();
    return area + '_' + unit;
}

} // namespace

bool registerSuite(const char *sourcePath, std::function<std::unique_ptr<QObject>()> make)
{
    suites()[suiteName(sourcePath)] = std::move(make);
    return true;
}

} // namespace Dayplex::Testing

int main(int argc, char *argv[])
{
    const auto &suites = Dayplex::Testing::suites();
    const auto suite = argc > 1 ? suites.find(argv[1]) : suites.end();
    if (suite == suites.end()) {
        std::fprintf(stderr, "usage: %s SUITE [QtTest options]; suites:\n", argv[0]);
        for (const auto &entry : suites)
            std::fprintf(stderr, "  %s\n", entry.first.constData());
        return 2;
    }
    // QtTest sees the program's name and the options after the suite.
    std::vector<char *> args{argv[0]};
    args.insert(args.end(), argv + 2, argv + argc);
    int count = int(args.size());
    // As QTEST_MAIN does: the pictures of the tests assume 96 dots per inch.
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    QApplication app(count, args.data());
    const std::unique_ptr<QObject> test = suite->second();
    return QTest::qExec(test.get(), count, args.data());
}
