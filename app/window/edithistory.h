#ifndef TERMINPLANER_EDITHISTORY_H
#define TERMINPLANER_EDITHISTORY_H

#include "database.h"

#include <QHash>
#include <QUndoStack>
#include <functional>

namespace Terminplaner {

// Undo and redo of the window's writes. A step keeps the rows it touched as they were before
// and after it (a series with its changed occurrences); undo and redo write those rows back
// through the database, expecting the versions this desk's last write of them left.
class EditHistory
{
public:
    explicit EditHistory(Database &db);

    QUndoStack &stack() { return m_stack; }

    // Runs write, which changes the rows around id (0 for a new appointment) and returns the
    // id of the row that holds the change, and keeps it as one step named text. Whatever write
    // throws goes on to the caller, and no step is kept.
    void record(const QString &text, qint64 id, const std::function<qint64()> &write);

    // Asked when another desk changed or deleted a row since this desk's step; true writes
    // over it. Without an answer the other desk's version stays and the step is dropped.
    std::function<bool(const QString &title, const QString &text)> confirmOverwrite;
    // Told when an undo or redo failed; the step is dropped.
    std::function<void(const QString &title, const QString &text)> failed;
    // After every undo and redo.
    std::function<void(const QString &status)> changed;

private:
    friend class RowsStep;
    // Writes wanted over expected; false when it did not (the step is then dropped).
    bool apply(const QString &title, const QVector<Appointment> &expected, QVector<Appointment> &wanted);
    QVector<Appointment> family(qint64 id) const;
    void noteVersions(const QVector<Appointment> &rows);

    Database &m_db;
    QUndoStack m_stack;
    QHash<qint64, qint64> m_versions; // what this desk's last write left of each row
};

} // namespace Terminplaner

#endif
