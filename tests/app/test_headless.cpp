// The built program's export modes, run as a user or a script would run them, without a display.
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
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
        QFile empty(m_dir.filePath(QStringLiteral("leer.sqlite")));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(m_dir.filePath(QStringLiteral("kunden.sqlite")));
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("CREATE TABLE kunden (name TEXT)")));
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("INSERT INTO kunden VALUES ('Müller GmbH')")));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        // The demo database every case below starts from.
        const Run run = terminplaner({QStringLiteral("--db"), m_db, QStringLiteral("--screenshot"),
                                      QStringLiteral("calendar"), QStringLiteral("--out"),
                                      m_dir.filePath(QStringLiteral("first.png"))});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    }

    void screenshot_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("days");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("calendar week") << "calendar" << "monday" << "7" << QSize(1280, 800) << "1" << QSize(1280, 800);
        QTest::newRow("calendar day, small") << "calendar" << "today" << "1" << QSize(400, 600) << "1" << QSize(400, 600);
        QTest::newRow("calendar HiDPI") << "calendar" << "-3d" << "5" << QSize(640, 400) << "2" << QSize(1280, 800);
        QTest::newRow("gantt two weeks") << "gantt" << "-1w" << "14" << QSize(1600, 700) << "1" << QSize(1600, 700);
        QTest::newRow("gantt HiDPI") << "gantt" << "monday" << "7" << QSize(800, 500) << "2" << QSize(1600, 1000);
    }

    // Catches a screenshot that needs a display, ignores the asked size or ratio, misreads a
    // day relative to today, or comes out blank (the demo data lie around today).
    void screenshot()
    {
        QFETCH(QString, view);
        QFETCH(QString, from);
        QFETCH(QString, days);
        QFETCH(QSize, size);
        QFETCH(QString, scale);
        QFETCH(QSize, pixels);
        const QString out = m_dir.filePath(QStringLiteral("%1-%2-%3.png").arg(view, days, scale));
        const Run run = terminplaner({QStringLiteral("--db"), m_db, QStringLiteral("--screenshot"), view,
                                      QStringLiteral("--from"), from, QStringLiteral("--days"), days,
                                      QStringLiteral("--size"),
                                      QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
                                      QStringLiteral("--scale"), scale, QStringLiteral("--out"), out});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QImage image(out);
        QCOMPARE(image.size(), pixels);
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 3, "the image is practically empty");
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        QTest::newRow("unknown option") << QStringList{"--bunt"} << "Unbekannte Option";
        QTest::newRow("stray argument") << QStringList{"kalender"} << "Unerwartetes Argument";
        QTest::newRow("unknown view") << QStringList{"--screenshot", "woche", "--out", "x.png"} << "Unbekannte Ansicht";
        QTest::newRow("screenshot without file") << QStringList{"--screenshot", "calendar"} << "--out";
        QTest::newRow("print without file") << QStringList{"--print", "gantt"} << "--pdf";
        QTest::newRow("both modes") << QStringList{"--screenshot", "calendar", "--print", "calendar", "--out", "x.png"} << "schließen sich aus";
        QTest::newRow("fifteen calendar days") << QStringList{"--screenshot", "calendar", "--days", "15", "--out", "x.png"} << "Tageszahl";
        QTest::newRow("zero days") << QStringList{"--print", "gantt", "--days", "0", "--pdf", "x.pdf"} << "Tageszahl";
        QTest::newRow("German date") << QStringList{"--screenshot", "gantt", "--from", "07.12.2026", "--out", "x.png"} << "Ungültiger Tag";
        QTest::newRow("impossible date") << QStringList{"--screenshot", "gantt", "--from", "2026-02-30", "--out", "x.png"} << "Ungültiger Tag";
        QTest::newRow("bad size") << QStringList{"--screenshot", "calendar", "--size", "gross", "--out", "x.png"} << "Bildgröße";
        QTest::newRow("export option without export") << QStringList{"--days", "5"} << "nur zusammen";
        QTest::newRow("missing folder") << QStringList{"--screenshot", "calendar", "--out", "/nicht/da/x.png"} << "existiert nicht";
        QTest::newRow("not a database") << QStringList{"--db", "kaputt.sqlite", "--screenshot", "calendar",
                                                       "--out", "x.png"} << "keine Datenbank des Terminplaners";
        QTest::newRow("calendar export with a picture size")
            << QStringList{"--export-ics", "x.ics", "--size", "100x100"} << "--size";
        QTest::newRow("calendar import with a range")
            << QStringList{"--import-ics", "x.ics", "--from", "2026-12-07"} << "--from";
        QTest::newRow("calendar export of an unknown participant")
            << QStringList{"--export-ics", "x.ics", "--participant", "Niemand"} << "Teilnehmer";
        QTest::newRow("calendar import of a file that is no calendar")
            << QStringList{"--import-ics", "kaputt.sqlite"} << "keine gültige iCalendar-Datei";
        QTest::newRow("calendar export over a file that is no calendar")
            << QStringList{"--export-ics", "kaputt.sqlite"} << "nicht überschrieben";
        QTest::newRow("database in a file's place") << QStringList{"--db", "/dev/null/x.sqlite", "--screenshot",
                                                                 "calendar", "--out", "x.png"} << "existiert nicht";
        QTest::newRow("no days") << QStringList{"--screenshot", "calendar", "--days", "0", "--out", "x.png"} << "Tageszahl";
        QTest::newRow("size 0x0") << QStringList{"--screenshot", "calendar", "--size", "0x0", "--out", "x.png"} << "Bildgröße";
        QTest::newRow("13th month") << QStringList{"--screenshot", "calendar", "--from", "2026-13-40", "--out", "x.png"}
                                    << "Ungültiger Tag";
        QTest::newRow("calendar too large to paint")
            << QStringList{"--screenshot", "calendar", "--size", "9000x9000", "--out", "x.png"} << "zu groß";
        QTest::newRow("gantt too large to paint")
            << QStringList{"--screenshot", "gantt", "--size", "9000x9000", "--out", "x.png"} << "zu groß";
        QTest::newRow("HiDPI too large to paint")
            << QStringList{"--screenshot", "gantt", "--size", "6000x6000", "--scale", "2", "--out", "x.png"} << "zu groß";
        QTest::newRow("ratio 9") << QStringList{"--screenshot", "gantt", "--scale", "9", "--out", "x.png"}
                                 << "Pixelverhältnis";
        QTest::newRow("ratio for a print") << QStringList{"--print", "gantt", "--scale", "2", "--pdf", "x.pdf"} << "--scale";
        QTest::newRow("unknown presentation") << QStringList{"--screenshot", "calendar", "--presentation", "bunt",
                                                             "--out", "x.png"} << "Darstellung";
        QTest::newRow("database folder missing")
            << QStringList{"--db", "neu/termine.sqlite", "--screenshot", "calendar", "--out", "x.png"} << "existiert nicht";
        QTest::newRow("another program's SQLite file")
            << QStringList{"--db", "kunden.sqlite", "--screenshot", "calendar", "--out", "x.png"}
            << "keine Datenbank des Terminplaners";
        QTest::newRow("empty file") << QStringList{"--db", "leer.sqlite", "--print", "gantt", "--pdf", "x.pdf"}
                                    << "keine Datenbank des Terminplaners";
    }

    // Catches bad arguments and unusable databases that start the program, crash it, fail
    // without one clear reason, or change or create a file on the way.
    void badArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, says);
        if (!arguments.contains(QLatin1String("--db")))
            arguments << QStringLiteral("--db") << m_db;
        const QMap<QString, QByteArray> before = folderChecksums();
        const Run run = terminplaner(arguments);
        QVERIFY(run.normalExit);
        QCOMPARE(run.exitCode, 2);
        const QStringList lines = run.err.split(QLatin1Char('\n')).filter(QStringLiteral("terminplaner:"));
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().contains(says), qPrintable(lines.first()));
        QCOMPARE(folderChecksums(), before);
    }

private:
    struct Run
    {
        bool normalExit = false;
        int exitCode = -1;
        QString err;
        QString out;
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
        run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        return run;
    }

    static QByteArray checksum(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }

    // Every file and folder of the test folder with its contents.
    QMap<QString, QByteArray> folderChecksums() const
    {
        QMap<QString, QByteArray> sums;
        QDirIterator it(m_dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            sums.insert(path, checksum(path));
        }
        return sums;
    }

    QTemporaryDir m_dir;
    QString m_db;
};

QTEST_GUILESS_MAIN(tst_Headless)
#include "test_headless.moc"
