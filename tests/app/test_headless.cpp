// The built program's command line, run as a user or a script would run it, without a display.
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
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
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(m_dir.filePath(QStringLiteral("kunden.sqlite")));
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("CREATE TABLE kunden (name TEXT)")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        for (const auto &[name, content] :
             {std::pair{"abgeschnitten.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:Halb\r\n"},
              std::pair{"unlesbar.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:Betriebsfest\r\n"
                                        "DTSTART:20270104T080000Z\r\nDTEND:20270104T070000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"}}) {
            QFile ics(m_dir.filePath(QString::fromLatin1(name)));
            QVERIFY(ics.open(QIODevice::WriteOnly) && ics.write(content) > 0);
        }
        // The demo database every case below starts from.
        QString err;
        const int exitCode =
            terminplaner({"--db", m_db, "--screenshot", "calendar", "--out", "first.png"}, err);
        QVERIFY2(exitCode == 0, qPrintable(err));
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        QTest::newRow("unknown option") << QStringList{"--bunt"} << "Unbekannte Option";
        QTest::newRow("unknown view") << QStringList{"--screenshot", "woche", "--out", "x.png"} << "Unbekannte Ansicht";
        QTest::newRow("screenshot without file") << QStringList{"--screenshot", "calendar"} << "--out";
        QTest::newRow("missing folder") << QStringList{"--screenshot", "calendar", "--out", "/nicht/da/x.png"} << "existiert nicht";
        QTest::newRow("not a database") << QStringList{"--db", "kaputt.sqlite", "--screenshot", "calendar",
                                                       "--out", "x.png"} << "keine Datenbank des Terminplaners";
        QTest::newRow("calendar export over a file that is no calendar")
            << QStringList{"--export-ics", "kaputt.sqlite"} << "nicht überschrieben";
        QTest::newRow("calendar file cut off") << QStringList{"--import-ics", "abgeschnitten.ics"} << "unvollständig";
        QTest::newRow("calendar file without a readable event")
            << QStringList{"--import-ics", "unlesbar.ics"} << "„Betriebsfest“ (Zeile 2): Ende vor Beginn";
        QTest::newRow("another program's SQLite file")
            << QStringList{"--db", "kunden.sqlite", "--screenshot", "calendar", "--out", "x.png"}
            << "keine Datenbank des Terminplaners";
        const QStringList shot{"--screenshot", "calendar", "--out", "x.png"};
        QTest::newRow("picture 99 wide") << shot + QStringList{"--size", "99x100"} << "Ungültige Bildgröße";
        QTest::newRow("picture 10001 high") << shot + QStringList{"--size", "100x10001"} << "Ungültige Bildgröße";
        QTest::newRow("pixel ratio below 1") << shot + QStringList{"--scale", "0.9"} << "Ungültiges Pixelverhältnis";
        QTest::newRow("pixel ratio above 4") << shot + QStringList{"--scale", "4.1"} << "Ungültiges Pixelverhältnis";
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
        QString err;
        QCOMPARE(terminplaner(arguments, err), 2);
        const QStringList lines = err.split(QLatin1Char('\n')).filter(QStringLiteral("terminplaner:"));
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().contains(says), qPrintable(lines.first()));
        QCOMPARE(folderChecksums(), before);
    }

    // Catches a limit of the picture's size or pixel ratio that refuses its own edge value: the
    // picture comes out in the pixels asked for.
    void pictureLimits_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("100 x 100 at ratio 4") << QStringList{"--size", "100x100", "--scale", "4"} << QSize(400, 400);
        QTest::newRow("10000 x 100 at ratio 1") << QStringList{"--size", "10000x100", "--scale", "1"} << QSize(10000, 100);
    }
    void pictureLimits()
    {
        QFETCH(QStringList, arguments);
        const QString out = m_dir.filePath(QStringLiteral("limits.png"));
        QString err;
        QCOMPARE(terminplaner(QStringList{"--db", m_db, "--screenshot", "gantt", "--out", out} + arguments, err), 0);
        QTEST(QImage(out).size(), "pixels");
        QFile::remove(out);
    }

    // Catches a printed resource view whose pages lack the title, the period, the "Stand:" line,
    // a participant's name or the page number, a period squeezed onto one page, and printed
    // text below 7 points.
    void printedResourceView()
    {
        QString err;
        QCOMPARE(terminplaner({"--db", m_db, "--print", "gantt", "--from", "monday", "--days", "14",
                               "--pdf", "ressourcen.pdf"}, err), 0);
        const QString pdf = m_dir.filePath(QStringLiteral("ressourcen.pdf"));
        QStringList pages = pdfText({"-layout", pdf}).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        pages.removeIf([](const QString &page) { return page.trimmed().isEmpty(); });
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        const QRegularExpression period(
            QStringLiteral("Montag, \\d+\\. \\w+ \\d{4} – Sonntag, \\d+\\. \\w+ \\d{4}"));
        for (qsizetype n = 0; n < pages.size(); ++n) {
            const QString &page = pages.at(n);
            QVERIFY(page.contains(QLatin1String("Ressourcenansicht")));
            QVERIFY2(period.match(page).hasMatch(), qPrintable(page.left(300)));
            QVERIFY(page.contains(QLatin1String("Stand: ")));
            QVERIFY(page.contains(QStringLiteral("Seite %1 von %2").arg(n + 1).arg(pages.size())));
            for (const QString &name : participants())
                QVERIFY2(page.contains(name), qPrintable(name));
        }
        QVERIFY(smallestPoints(pdf) >= 7.0);
    }

    // Catches a printed sheet of the demo team that loses an appointment (at the sheet's foot,
    // in a box too small for it), cuts a word of its title, or prints text below 7 points.
    void printedCalendarSheet_data()
    {
        QTest::addColumn<QString>("days");
        QTest::addColumn<QString>("sheet");
        QTest::newRow("week") << "7" << "Wochenplan";
        QTest::newRow("one day") << "1" << "Tagesplan";
    }
    void printedCalendarSheet()
    {
        QFETCH(QString, days);
        QFETCH(QString, sheet);
        QString err;
        const QStringList period{"--db", m_db, "--from", "monday", "--days", days};
        QCOMPARE(terminplaner(period + QStringList{"--export-ics", "blatt.ics"}, err), 0);
        QCOMPARE(terminplaner(period + QStringList{"--print", "calendar", "--pdf", "blatt.pdf"}, err), 0);
        const QString pdf = m_dir.filePath(QStringLiteral("blatt.pdf"));
        const QString text = pdfText({pdf}).simplified();
        QVERIFY(text.contains(sheet));
        const QStringList titles = summaries(m_dir.filePath(QStringLiteral("blatt.ics")));
        QVERIFY(titles.size() > 5);
        for (const QString &title : titles)
            QVERIFY2(text.count(title) >= titles.count(title), qPrintable(title));
        QVERIFY(smallestPoints(pdf) >= 7.0);
    }

private:
    // The titles of the events of an iCalendar file, once per event.
    static QStringList summaries(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        // Folded lines go on after a line break and a blank.
        const QString unfolded = QString::fromUtf8(file.readAll()).replace(QLatin1String("\r\n "), QString());
        QStringList titles;
        for (const QString &line : unfolded.split(QLatin1String("\r\n"))) {
            if (line.startsWith(QLatin1String("SUMMARY:")))
                titles << line.mid(8).replace(QLatin1String("\\,"), QLatin1String(","))
                              .replace(QLatin1String("\\;"), QLatin1String(";"));
        }
        return titles;
    }

    // The names of the team the demo database holds.
    QStringList participants() const
    {
        QStringList names;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("names"));
            db.setDatabaseName(m_db);
            if (db.open()) {
                QSqlQuery query(QStringLiteral("SELECT name FROM participants"), db);
                while (query.next())
                    names << query.value(0).toString();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("names"));
        return names;
    }

    // What pdftotext reads from a PDF, with the ligatures of the font ("ﬀ") as their letters.
    static QString pdfText(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), arguments + QStringList{QStringLiteral("-")});
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    }

    // The size in points of the smallest word printed: pdftotext's box of a word in DejaVu
    // Sans is 1.16 times the font's size high.
    static double smallestPoints(const QString &pdf)
    {
        const QString boxes = pdfText({"-bbox", pdf});
        const QRegularExpression word(QStringLiteral("yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\""));
        double smallest = 1e9;
        for (auto it = word.globalMatch(boxes); it.hasNext();) {
            const auto m = it.next();
            smallest = std::min(smallest, (m.captured(2).toDouble() - m.captured(1).toDouble()) / 1.16);
        }
        return smallest;
    }

    // The program's exit code, -1 when it crashed or hung; what it wrote to stderr in err.
    int terminplaner(const QStringList &arguments, QString &err)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // The program has to choose the offscreen platform itself.
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QLatin1String(name));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(TERMINPLANER_EXE), arguments);
        if (!process.waitForFinished(120000))
            process.kill();
        process.waitForFinished();
        err = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // Every file and folder of the test folder with a hash of its contents.
    QMap<QString, QByteArray> folderChecksums() const
    {
        QMap<QString, QByteArray> sums;
        QDirIterator it(m_dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            file.open(QIODevice::ReadOnly);
            sums.insert(file.fileName(),
                        QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
        }
        return sums;
    }

    QTemporaryDir m_dir;
    QString m_db;
};

QTEST_GUILESS_MAIN(tst_Headless)
#include "test_headless.moc"
