// Small helpers shared by the host-facing operations (text, lens, shutter,
// accessors): direct image-algorithm calls and the id-list failure line.
#ifndef HOST_OPS_H
#define HOST_OPS_H

#include <string>

#include "ISensorController.h"

namespace hostops {

// One value to the image-algorithm library through doIaCmd; true on success.
bool iaSet(ISensorController& p_objCtrl, u32 p_nCmd, u32 p_nValue);
// A read through doIaCmd into p_pData; true on success.
bool iaGet(ISensorController& p_objCtrl, u32 p_nCmd, void* p_pData);
// One value through doIaCmd for a command the host named (a key without a
// row, a read of an uncached key): the call gets room for the largest record
// a command carries, so a record command cannot write or read past the
// value. p_nValue goes in and comes back as the first word; returns the
// status.
int iaOneValue(ISensorController& p_objCtrl, u32 p_nCmd, u32 p_nOpt, u32& p_nValue);
// setParameter(key, value, true) succeeded.
bool setCached(ISensorController& p_objCtrl, int p_nKey, int p_nValue);
// The line printed (at any debug level) for an id list that does not parse.
void printIdListFailure(int p_nLine, const std::string& p_strIds);

}  // namespace hostops

#endif
