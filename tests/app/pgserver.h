// A PostgreSQL server of a test's own: initdb in a temporary folder, a free loopback port,
// stopped and removed at the end. PostgreSQL refuses to run as root, so under root (CI, this
// machine) the server runs as the unprivileged user "nobody", which owns the folder.
#ifndef TERMINPLANER_TESTS_PGSERVER_H
#define TERMINPLANER_TESTS_PGSERVER_H

#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

class PgServer
{
public:
    static constexpr const char *kUser = "terminplaner";

    // Without a folder the cluster lives in a temporary one. A folder keeps it between runs (a
    // benchmark's generated data): made there on the first start, used again on the next.
    explicit PgServer(const QString &folder = QString()) : m_kept(folder) {}
    ~PgServer() { stop(); }

    // Creates the cluster and starts it; false with the reason in error() when it cannot.
    // A fileSizeLimit in bytes caps every file the server writes (RLIMIT_FSIZE), with WAL
    // segments of 1 MB so that they fit below it.
    bool start(qint64 fileSizeLimit = 0)
    {
        m_fileSizeLimit = fileSizeLimit;
        const passwd *nobody = getpwnam("nobody");
        const QByteArray folder = QFile::encodeName(root());
        if (geteuid() == 0 && (!nobody || chown(folder, nobody->pw_uid, nobody->pw_gid) != 0)) {
            m_error = QStringLiteral("cannot hand the folder to the user nobody");
            return false;
        }
        QStringList init{"-D", data(), "-U", kUser, "-A", "trust", "-E", "UTF8", "--no-sync"};
        if (fileSizeLimit > 0)
            init << QStringLiteral("--wal-segsize=1");
        if (!QFile::exists(data() + QStringLiteral("/PG_VERSION")) && !run(QStringLiteral("initdb"), init))
            return false;
        QTcpServer probe; // a port free now, given back before the server takes it
        probe.listen(QHostAddress::LocalHost, 0);
        m_port = probe.serverPort();
        probe.close();
        return startAgain();
    }

    // Starts the stopped cluster on the same port, as a server coming back does.
    bool startAgain()
    {
        // Loopback only, no Unix socket, no waiting for the disk: a test server. Commits still
        // reach the system's cache at once, so that an immediate stop loses nothing.
        const QString options = QStringLiteral("-p %1 -c listen_addresses=127.0.0.1 "
                                               "-c unix_socket_directories= -c fsync=off "
                                               "-c full_page_writes=off")
                                    .arg(m_port);
        QStringList arguments{"-D", data(), "-o", options, "-l", root() + QStringLiteral("/server.log"),
                              "-w", "start"};
        // The limit is inherited by the postmaster and every backend it forks.
        if (m_fileSizeLimit > 0)
            arguments = QStringList{QStringLiteral("--fsize=%1").arg(m_fileSizeLimit),
                                    binary(QStringLiteral("pg_ctl"))}
                        + arguments;
        m_running = run(QLatin1String(m_fileSizeLimit > 0 ? "prlimit" : "pg_ctl"), arguments);
        return m_running;
    }

    // Stops the server at once, as a crash or a pulled cable would look to the clients.
    void stop()
    {
        if (m_running)
            run(QStringLiteral("pg_ctl"), {"-D", data(), "-m", m_kept.isEmpty() ? "immediate" : "fast", "-w", "stop"});
        m_running = false;
    }

    // Creates an empty database and returns the URL a desk opens it with; empty when createdb
    // fails.
    QString createDatabase(const QString &name)
    {
        const QStringList arguments{"-h", "127.0.0.1", "-p", QString::number(m_port), "-U", kUser,
                                    name};
        if (!run(QStringLiteral("createdb"), arguments))
            return QString();
        return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3")
            .arg(QLatin1String(kUser))
            .arg(m_port)
            .arg(name);
    }

    int port() const { return m_port; }
    QString error() const { return m_error; }

private:
    QString root() const { return m_kept.isEmpty() ? m_dir.path() : m_kept; }
    QString data() const { return root() + QStringLiteral("/data"); }

    static QString binary(const QString &name)
    {
        const QString debian = QStringLiteral("/usr/lib/postgresql/15/bin/") + name;
        return QFile::exists(debian) ? debian : name;
    }

    bool run(const QString &tool, QStringList arguments)
    {
        arguments.prepend(binary(tool));
        if (geteuid() == 0)
            arguments = QStringList{"-u", "nobody", "--"} + arguments;
        const QString program = geteuid() == 0 ? QStringLiteral("runuser") : arguments.takeFirst();
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setWorkingDirectory(root());
        process.start(program, arguments);
        if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0)
            return true;
        m_error = tool + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAll());
        return false;
    }

    QTemporaryDir m_dir;
    QString m_kept;
    QString m_error;
    int m_port = 0;
    qint64 m_fileSizeLimit = 0;
    bool m_running = false;
};

#endif
