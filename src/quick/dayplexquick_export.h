#ifndef DAYPLEX_QUICK_EXPORT_H
#define DAYPLEX_QUICK_EXPORT_H

#include <QtCore/qglobal.h>

#if defined(DayplexQuick_EXPORTS)
#define DAYPLEX_QUICK_EXPORT Q_DECL_EXPORT
#else
#define DAYPLEX_QUICK_EXPORT Q_DECL_IMPORT
#endif

#endif
