// Facts about a channel's parameter schemes shared by the controller's
// source files: the names of the parameter files on flash, the command that
// removes them, and where a scheme row keeps its time window.
#ifndef SCHEME_FILES_H
#define SCHEME_FILES_H

#include <stddef.h>

#include "SensorTypes.h"

#include "FlashLayout.h"

// The time-window keys lead every row; this many records must be present
// before a row's window can be read.
const u32 kSchemeWindowRecords = 5;

// Window of a scheme row as HHMM numbers: start inclusive, end exclusive.
void schemeWindow(const KeyVal* p_pRow, u32& p_nStart, u32& p_nEnd);

#endif
