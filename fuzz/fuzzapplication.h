#ifndef DAYPLEX_FUZZAPPLICATION_H
#define DAYPLEX_FUZZAPPLICATION_H

// The start both fuzzers share: an offscreen application that keeps libFuzzer's arguments and
// its output readable.
#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace DayplexFuzz {

// Warnings about odd sizes and fonts would drown libFuzzer's own output; fatal ones still abort.
inline void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

// `name` must live as long as the program.
inline void startApplication(char *name)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    // QApplication edits the argument list it gets; libFuzzer's own must stay intact.
    static int argc = 1;
    static char *argv[] = {name, nullptr};
    // Never destroyed: the pointing device QTest's mouse events register would outlive a
    // static application at exit and crash there.
    static QApplication *const app = new QApplication(argc, argv);
    Q_UNUSED(app);
}

} // namespace DayplexFuzz

#endif
