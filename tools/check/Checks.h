// The checker's checks, one function per family; each reports through the
// report and records what later checks need in the context.
#ifndef SENSORCTL_CHECKS_H
#define SENSORCTL_CHECKS_H

#include "CheckContext.h"
#include "CheckReport.h"

// CheckMachine.cpp: machine information, module configuration, detail fields.
void checkMachineInfo(CheckContext& p_stCtx, CheckReport& p_objReport);
void checkModuleMatch(CheckContext& p_stCtx, CheckReport& p_objReport);
void checkDetailFields(CheckContext& p_stCtx, CheckReport& p_objReport);

// CheckStyle.cpp: style and diversity documents and the merge's edits.
void checkStyleDocument(CheckContext& p_stCtx, CheckReport& p_objReport);
void checkDiversityDocuments(CheckContext& p_stCtx, CheckReport& p_objReport);
void checkVariantConditions(CheckContext& p_stCtx, CheckReport& p_objReport);
void checkMergeOperations(CheckContext& p_stCtx, CheckReport& p_objReport);

// CheckItems.cpp: the merged style's items and the factory records.
// Builds the library's system configuration, dynamic style and factory
// records on the copy; false when it could not.
bool buildStyleFacts(CheckContext& p_stCtx, CheckReport& p_objReport);
void checkStyleItems(CheckContext& p_stCtx, CheckReport& p_objReport);
void checkFactoryRecords(CheckContext& p_stCtx, CheckReport& p_objReport);

// CheckFiles.cpp: scheme files and the version file on flash.
void checkSchemeFiles(CheckContext& p_stCtx, CheckReport& p_objReport);
void checkVersionFile(CheckContext& p_stCtx, CheckReport& p_objReport);

// CheckLive.cpp: a controller on the copy, over the image-algorithm library.
void runLiveChecks(CheckContext& p_stCtx, CheckReport& p_objReport);

#endif
