// The watchdog that every test program links: it must end a program that shows a modal
// window, and only such a program. The windows are opened in a child run of this program.
#include <QtTest>
#include <QtWidgets>

namespace {

constexpr char kChildMode[] = "DAYPLEX_WATCHDOG_CHILD";

// The child: opens a window and closes it again after a moment, so that a missing watchdog
// shows as a normal end instead of a hang.
int openWindow(const QByteArray &mode)
{
    QDialog window;
    window.setObjectName(QStringLiteral("dlgProbe"));
    window.setWindowTitle(QStringLiteral("Probe"));
    QTimer::singleShot(1000, &window, &QDialog::reject);
    if (mode == "modal") {
        window.exec();
    } else {
        window.show();
        QTest::qWait(1200);
    }
    return 0;
}

} // namespace

class tst_ModalWatchdog : public QObject
{
    Q_OBJECT

private slots:
    // Catches a watchdog that is not installed, misses a modal window, names it wrongly, or
    // ends programs that only show an ordinary window.
    void endsModalWindowsOnly_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<bool>("ended");
        QTest::newRow("dialog run with exec") << QByteArray("modal") << true;
        QTest::newRow("dialog shown without modality") << QByteArray("modeless") << false;
    }
    void endsModalWindowsOnly()
    {
        QFETCH(QByteArray, mode);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildMode), QString::fromLatin1(mode));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForFinished(60000));
        const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
        QTEST(child.exitStatus() == QProcess::CrashExit, "ended");
        QTEST(errors.contains(QStringLiteral(
                  "A test opened a modal window: QDialog \"dlgProbe\", titled \"Probe\"")),
              "ended");
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QByteArray mode = qgetenv(kChildMode);
    if (!mode.isEmpty())
        return openWindow(mode);
    tst_ModalWatchdog test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_modalwatchdog.moc"
