#ifndef TERMINPLANER_HEADLESS_H
#define TERMINPLANER_HEADLESS_H

#include "commandline.h"

class QTextStream;

namespace Terminplaner {

class Database;

// Runs --screenshot or --print without a window. Returns the process exit code: 0 when the
// file was written, 2 when the arguments ask for what cannot be done (a missing folder, a
// picture too large to paint), 1 on any other failure, with the reason on err.
int runHeadless(const CommandLine &commandLine, Database &db, QTextStream &err);

} // namespace Terminplaner

#endif
