// Facts about a channel's parameter schemes shared by the controller's
// source files: the names of the parameter files on flash, the command that
// removes them, and where a scheme row keeps its time window.
#ifndef SCHEME_FILES_H
#define SCHEME_FILES_H

#include <stddef.h>

#include "SensorTypes.h"

// Machine information, read again by init and by the factory reset.
#define SNS_MACHINE_INFO_FILE "/mnt/mtd/code/factory_setting/machineinfo.ini"

// Parameter file of one user scheme; the thermal channel has its own names.
void schemeFileName(char* p_szPath, size_t p_nSize, int p_nCameraID, bool p_bIsThermal,
                    int p_nScheme);

// Shell command removing the channel's parameter files (schemes 0 to 3 on a
// normal channel, every thermal file on the thermal channel).
void schemeRemoveCommand(char* p_szCmd, size_t p_nSize, int p_nCameraID, bool p_bIsThermal);

// The time-window keys lead every row; this many records must be present
// before a row's window can be read.
const u32 kSchemeWindowRecords = 5;

// Window of a scheme row as HHMM numbers: start inclusive, end exclusive.
void schemeWindow(const KeyVal* p_pRow, u32& p_nStart, u32& p_nEnd);

#endif
