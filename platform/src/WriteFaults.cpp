// Write fault injection: a cut write, a power cut before the rename of a
// replacing write, a full flash. Process-wide, like the flash root.
#include <atomic>

#include "PlatformSim.h"
#include "WriteFaults.h"

namespace {

std::atomic<int> g_nWritesToFault(0);  // counts down to the failing write; 0: none
std::atomic<bool> g_bStopBeforeRename(false);
std::atomic<bool> g_bNoSpaceLeft(false);

}  // namespace

namespace platformsim {

void failNthWrite(int p_nNth) { g_nWritesToFault.store(p_nNth > 0 ? p_nNth : 0); }

void failBeforeRename(bool p_bStop) { g_bStopBeforeRename.store(p_bStop); }

void noSpaceLeft(bool p_bFull) { g_bNoSpaceLeft.store(p_bFull); }

void resetWriteFaults()
{
    g_nWritesToFault.store(0);
    g_bStopBeforeRename.store(false);
    g_bNoSpaceLeft.store(false);
}

long long simulatedWriteRoom(unsigned int p_nLen)
{
    if (g_bNoSpaceLeft.load()) return -1;
    int nLeft = g_nWritesToFault.load();
    while (nLeft > 0 && !g_nWritesToFault.compare_exchange_weak(nLeft, nLeft - 1)) {
    }
    return nLeft == 1 ? p_nLen / 2 : p_nLen;
}

bool stopsBeforeRename() { return g_bStopBeforeRename.load(); }

}  // namespace platformsim
