#include "edithistory.h"

#include <QCoreApplication>

namespace Terminplaner {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Terminplaner::EditHistory", text);
}

QString join(const QVector<Appointment> &rows)
{
    QStringList names;
    for (const Appointment &row : rows)
        if (!row.isOccurrence())
            names.append(QStringLiteral("„%1“").arg(row.text));
    return names.join(QStringLiteral(", "));
}

} // namespace

// One step: the rows before and after it. The first redo is the write that was recorded.
class RowsStep : public QUndoCommand
{
public:
    RowsStep(EditHistory &history, const QString &text, QVector<Appointment> before, QVector<Appointment> after)
        : QUndoCommand(text), m_history(history), m_before(std::move(before)), m_after(std::move(after))
    {
    }
    void undo() override
    {
        if (!m_history.apply(tr("Rückgängig: %1").arg(text()), m_after, m_before))
            setObsolete(true);
    }
    void redo() override
    {
        if (std::exchange(m_done, false))
            return;
        if (!m_history.apply(tr("Wiederholen: %1").arg(text()), m_before, m_after))
            setObsolete(true);
    }

private:
    EditHistory &m_history;
    QVector<Appointment> m_before;
    QVector<Appointment> m_after;
    bool m_done = true;
};

EditHistory::EditHistory(Database &db) : m_db(db)
{
    m_stack.setUndoLimit(100);
}

QVector<Appointment> EditHistory::family(qint64 id) const
{
    if (id == 0)
        return {};
    // A changed occurrence belongs to its series: a change of it may reach the series' rule.
    const std::optional<Appointment> row = m_db.appointment(id);
    return m_db.rowFamily(row && row->isOccurrence() ? row->seriesId : id);
}

void EditHistory::noteVersions(const QVector<Appointment> &rows)
{
    for (const Appointment &row : rows)
        m_versions.insert(row.id, row.version);
}

void EditHistory::record(const QString &text, qint64 id, const std::function<qint64()> &write)
{
    const QVector<Appointment> before = family(id);
    const qint64 written = write();
    QVector<Appointment> after = family(before.isEmpty() ? written : before.first().id);
    for (const Appointment &row : family(written))
        if (std::none_of(after.begin(), after.end(), [&row](const Appointment &a) { return a.id == row.id; }))
            after.append(row);
    noteVersions(after);
    m_stack.push(new RowsStep(*this, text, before, after));
}

bool EditHistory::apply(const QString &title, const QVector<Appointment> &expected, QVector<Appointment> &wanted)
{
    QVector<Appointment> current = expected;
    for (Appointment &row : current)
        row.version = m_versions.value(row.id, row.version);
    QString status = title;
    try {
        try {
            wanted = m_db.restoreRows(current, wanted);
        } catch (const ConflictError &conflict) {
            const QString question =
                tr("%1\n\nSoll trotzdem wiederhergestellt werden, was vor Ihrem Schritt galt? Bei „Nein“ "
                   "bleibt, was der andere Arbeitsplatz gespeichert hat.").arg(conflict.message());
            if (!confirmOverwrite || !confirmOverwrite(title, question)) {
                if (changed)
                    changed(tr("%1: nicht ausgeführt, die Fassung des anderen Arbeitsplatzes bleibt.").arg(title));
                return false;
            }
            wanted = m_db.restoreRows(current, wanted, true);
        }
    } catch (const DatabaseError &error) {
        qWarning("terminplaner: %s failed: %s", qPrintable(title), qPrintable(error.message()));
        if (failed)
            failed(title, error.message() + QStringLiteral("\n\n")
                              + tr("Der Schritt wurde verworfen; die Termine bleiben, wie sie gespeichert sind."));
        if (changed)
            changed(QString());
        return false;
    }
    noteVersions(wanted);
    if (changed)
        changed(QStringLiteral("%1 (%2)").arg(title, join(wanted.isEmpty() ? expected : wanted)));
    return true;
}

} // namespace Terminplaner
