// Injected write faults, as PKFile asks them (not exported).
#ifndef WRITE_FAULTS_H
#define WRITE_FAULTS_H

namespace platformsim {

// How many of p_nLen bytes the simulated medium takes in this write: all of
// them normally, half in the write chosen by failNthWrite, -1 when the flash
// is full (noSpaceLeft).
long long simulatedWriteRoom(unsigned int p_nLen);
// True when a replacing write must stop before its rename (failBeforeRename).
bool stopsBeforeRename();

}  // namespace platformsim

#endif
