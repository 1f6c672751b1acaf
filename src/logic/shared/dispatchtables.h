#ifndef DAYPLEX_DISPATCHTABLES_H
#define DAYPLEX_DISPATCHTABLES_H

#include <dayplex/dispatch.h>

#include <QStringView>

namespace Dayplex {

struct DispatchRow
{
    qint32 dispid;
    const char *name; // spelled as the member of the control class
    Dispatch::Kind kind;
};

struct DispatchTable
{
    const char *interfaceName;
    const DispatchRow *rows;
    int count;

    const DispatchRow *begin() const { return rows; }
    const DispatchRow *end() const { return rows + count; }
};

// Every interface, each default interface followed by its event interface.
const DispatchTable *dispatchTables(int *count);

// The table of an interface (letter case ignored), or nullptr.
const DispatchTable *findDispatchTable(QStringView interfaceName);

} // namespace Dayplex

#endif
