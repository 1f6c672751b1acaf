// The built program's export modes, run as a user or a script would run them, without a display.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class tst_Headless : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = m_dir.filePath(QStringLiteral("headless.sqlite"));
        QFile broken(m_dir.filePath(QStringLiteral("kaputt.sqlite")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("Dies ist keine Datenbank, sondern eine Einkaufsliste.\n");
    }

    void screenshot_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("days");
        QTest::addColumn<QSize>("size");
        QTest::newRow("calendar week") << "calendar" << "7" << QSize(1280, 800);
        QTest::newRow("calendar day, small") << "calendar" << "1" << QSize(400, 600);
        QTest::newRow("gantt two weeks") << "gantt" << "14" << QSize(1600, 700);
    }

    // Catches a screenshot that needs a display, ignores the asked size or comes out blank.
    void screenshot()
    {
        QFETCH(QString, view);
        QFETCH(QString, days);
        QFETCH(QSize, size);
        const QString out = m_dir.filePath(QStringLiteral("%1-%2.png").arg(view, days));
        const Run run = terminplaner({QStringLiteral("--db"), m_db, QStringLiteral("--screenshot"), view,
                                      QStringLiteral("--from"), QStringLiteral("2026-12-07"),
                                      QStringLiteral("--days"), days, QStringLiteral("--size"),
                                      QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
                                      QStringLiteral("--out"), out});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QImage image(out);
        QCOMPARE(image.size(), size);
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 3, "the image is practically empty");
    }

    void print_data()
    {
        QTest::addColumn<QString>("view");
        QTest::newRow("calendar") << "calendar";
        QTest::newRow("gantt") << "gantt";
    }

    // Catches a print export that shows a dialog, needs a display or writes no PDF.
    void print()
    {
        QFETCH(QString, view);
        const QString pdf = m_dir.filePath(view + QStringLiteral(".pdf"));
        const Run run = terminplaner({QStringLiteral("--db"), m_db, QStringLiteral("--print"), view,
                                      QStringLiteral("--from"), QStringLiteral("2026-12-07"),
                                      QStringLiteral("--days"), QStringLiteral("7"), QStringLiteral("--pdf"), pdf});
        if (run.exitCode != 0 && run.err.contains(QLatin1String("not yet available")))
            QSKIP(qPrintable(QStringLiteral("the library cannot print this view yet: ") + run.err.trimmed()));
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(4), QByteArray("%PDF"));
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown option") << QStringList{"--bunt"};
        QTest::newRow("stray argument") << QStringList{"kalender"};
        QTest::newRow("unknown view") << QStringList{"--screenshot", "woche", "--out", "x.png"};
        QTest::newRow("screenshot without file") << QStringList{"--screenshot", "calendar"};
        QTest::newRow("print without file") << QStringList{"--print", "gantt"};
        QTest::newRow("both modes") << QStringList{"--screenshot", "calendar", "--print", "calendar", "--out", "x.png"};
        QTest::newRow("fifteen calendar days") << QStringList{"--screenshot", "calendar", "--days", "15", "--out", "x.png"};
        QTest::newRow("zero days") << QStringList{"--print", "gantt", "--days", "0", "--pdf", "x.pdf"};
        QTest::newRow("German date") << QStringList{"--screenshot", "gantt", "--from", "07.12.2026", "--out", "x.png"};
        QTest::newRow("impossible date") << QStringList{"--screenshot", "gantt", "--from", "2026-02-30", "--out", "x.png"};
        QTest::newRow("bad size") << QStringList{"--screenshot", "calendar", "--size", "gross", "--out", "x.png"};
        QTest::newRow("export option without export") << QStringList{"--days", "5"};
        QTest::newRow("missing folder") << QStringList{"--screenshot", "calendar", "--out", "/nicht/da/x.png"};
        QTest::newRow("not a database") << QStringList{"--db", "kaputt.sqlite", "--screenshot", "calendar",
                                                       "--out", "x.png"};
        QTest::newRow("database in a file's place") << QStringList{"--db", "/dev/null/x.sqlite", "--screenshot",
                                                                 "calendar", "--out", "x.png"};
    }

    // Catches bad arguments that start the program, crash it or fail without a reason.
    void badArguments()
    {
        QFETCH(QStringList, arguments);
        if (!arguments.contains(QLatin1String("--db")))
            arguments << QStringLiteral("--db") << m_db;
        const Run run = terminplaner(arguments);
        QVERIFY2(run.exitCode > 0, qPrintable(QString::number(run.exitCode)));
        QVERIFY(run.normalExit);
        QVERIFY(run.err.contains(QLatin1String("terminplaner:")));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("x.png"))));
    }

private:
    struct Run
    {
        bool normalExit = false;
        int exitCode = -1;
        QString err;
    };

    Run terminplaner(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // The program has to choose the offscreen platform itself.
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(TERMINPLANER_EXE), arguments);
        Run run;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            run.err = QStringLiteral("timed out");
            return run;
        }
        run.normalExit = process.exitStatus() == QProcess::NormalExit;
        run.exitCode = run.normalExit ? process.exitCode() : -1;
        run.err = QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }

    QTemporaryDir m_dir;
    QString m_db;
};

QTEST_GUILESS_MAIN(tst_Headless)
#include "test_headless.moc"
