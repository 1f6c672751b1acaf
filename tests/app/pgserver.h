// A PostgreSQL server of a test's own: initdb in a temporary folder, a free loopback port,
// stopped and removed at the end. PostgreSQL refuses to run as root, so under root (CI, this
// machine) the server runs as the unprivileged user "nobody", which owns the folder.
#ifndef TERMINPLANER_TESTS_PGSERVER_H
#define TERMINPLANER_TESTS_PGSERVER_H

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>
#include <pwd.h>

class PgServer
{
public:
    static constexpr const char *kUser = "terminplaner";

    PgServer() = default;
    PgServer(const PgServer &) = delete;
    PgServer &operator=(const PgServer &) = delete;
    ~PgServer() { stop(); }

    // Creates the cluster and starts it; false with the reason in error() when it cannot.
    // A fileSizeLimit in bytes caps every file the server writes (RLIMIT_FSIZE), with WAL
    // segments of 1 MB so that they fit below it.
    bool start(qint64 fileSizeLimit = 0)
    {
        m_fileSizeLimit = fileSizeLimit;
        if (!m_dir.isValid())
            return fail(QStringLiteral("no temporary folder"));
        m_data = m_dir.filePath(QStringLiteral("data"));
        if (geteuid() == 0) {
            const passwd *nobody = getpwnam("nobody");
            if (!nobody || chown(QFile::encodeName(m_dir.path()).constData(), nobody->pw_uid, nobody->pw_gid) != 0)
                return fail(QStringLiteral("cannot hand the folder to the user nobody"));
        }
        QStringList init{QStringLiteral("-D"), m_data, QStringLiteral("-U"), QString::fromLatin1(kUser),
                         QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
                         QStringLiteral("UTF8"), QStringLiteral("--no-sync")};
        if (fileSizeLimit > 0)
            init << QStringLiteral("--wal-segsize=1");
        if (!run(QStringLiteral("initdb"), init))
            return false;
        m_port = freePort();
        return startAgain();
    }

    // Starts the stopped cluster on the same port, as a server coming back does.
    bool startAgain()
    {
        // Loopback only, no Unix socket, no waiting for the disk: a test server. Commits still
        // reach the system's cache at once, so that an immediate stop loses nothing.
        const QString options = QStringLiteral("-p %1 -c listen_addresses=127.0.0.1 -c unix_socket_directories= "
                                               "-c fsync=off -c full_page_writes=off")
                                    .arg(m_port);
        const QStringList arguments{QStringLiteral("-D"), m_data, QStringLiteral("-o"), options,
                                    QStringLiteral("-l"), m_dir.filePath(QStringLiteral("server.log")),
                                    QStringLiteral("-w"), QStringLiteral("start")};
        // The limit is inherited by the postmaster and every backend it forks.
        const bool started = m_fileSizeLimit > 0
                                 ? run(QStringLiteral("prlimit"),
                                       QStringList{QStringLiteral("--fsize=%1").arg(m_fileSizeLimit),
                                                   binary(QStringLiteral("pg_ctl"))} + arguments)
                                 : run(QStringLiteral("pg_ctl"), arguments);
        if (!started)
            return false;
        m_running = true;
        return true;
    }

    // Stops the server at once, as a crash or a pulled cable would look to the clients.
    void stop()
    {
        if (!m_running)
            return;
        run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), m_data, QStringLiteral("-m"),
                                       QStringLiteral("immediate"), QStringLiteral("-w"),
                                       QStringLiteral("stop")});
        m_running = false;
    }

    // Creates an empty database, or a copy of a template database nobody is connected to, and
    // returns the URL a desk opens it with.
    QString createDatabase(const QString &name, const QString &copyOf = QString())
    {
        QStringList arguments{QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                              QString::number(m_port), QStringLiteral("-U"), QString::fromLatin1(kUser)};
        if (!copyOf.isEmpty())
            arguments << QStringLiteral("-T") << copyOf;
        if (!run(QStringLiteral("createdb"), arguments << name))
            return QString();
        return url(name);
    }

    QString url(const QString &name) const
    {
        return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(QString::fromLatin1(kUser)).arg(m_port).arg(name);
    }

    int port() const { return m_port; }
    QString error() const { return m_error; }

private:
    static QString binary(const QString &name)
    {
        const QString debian = QStringLiteral("/usr/lib/postgresql/15/bin/") + name;
        return QFile::exists(debian) ? debian : name;
    }

    static int freePort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

    bool run(const QString &tool, const QStringList &arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setWorkingDirectory(m_dir.path());
        QStringList command{binary(tool)};
        command += arguments;
        if (geteuid() == 0)
            command = QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--")} + command;
        process.start(geteuid() == 0 ? QStringLiteral("runuser") : command.takeFirst(), command);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0)
            return fail(QStringLiteral("%1 failed: %2").arg(tool, QString::fromLocal8Bit(process.readAll())));
        return true;
    }

    bool fail(const QString &error)
    {
        m_error = error;
        return false;
    }

    QTemporaryDir m_dir;
    QString m_data;
    QString m_error;
    int m_port = 0;
    qint64 m_fileSizeLimit = 0;
    bool m_running = false;
};

#endif
