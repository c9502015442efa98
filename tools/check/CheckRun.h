// The checker's run, apart from the tool's command line: front ends and the
// in-process tests start it here.
#ifndef SENSORCTL_CHECK_RUN_H
#define SENSORCTL_CHECK_RUN_H

#include <stdio.h>

#include <string>

#include "CheckContext.h"
#include "IaObserver.h"

// Runs the checks the options ask for on a temporary copy of the tree and
// prints the findings to p_pOut; the image-algorithm library below is seen
// through p_objIa. Returns 0 when nothing failed, else 1; a tree that cannot
// be inspected gives 1 with the reason in p_strError, and nothing is printed.
int runChecks(const CheckOptions& p_stOptions, sensorhost::IaObserver& p_objIa, FILE* p_pOut,
              std::string& p_strError);

#endif
