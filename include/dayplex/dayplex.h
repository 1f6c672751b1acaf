#ifndef DAYPLEX_DAYPLEX_H
#define DAYPLEX_DAYPLEX_H

/// \file dayplex.h
/// Everything a host needs: the three controls, their binding to item models, late binding,
/// dates, errors and the seams for questions, dialogs and printing without a user.
#include <dayplex/ctlgantt.h>
#include <dayplex/ctlintellimouse.h>
#include <dayplex/dates.h>
#include <dayplex/dispatch.h>
#include <dayplex/error.h>
#include <dayplex/kalenderobjekttyp.h>
#include <dayplex/modal.h>
#include <dayplex/modelbinding.h>
#include <dayplex/modelroles.h>
#include <dayplex/presentation.h>
#include <dayplex/printing.h>
#include <dayplex/series.h>
#include <dayplex/ucagenda.h>
#include <dayplex/version.h>

#endif
