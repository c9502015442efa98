// What the library is given for one channel, read from the flash tree the
// way a host reads it, and the factory values the library derives from it.
#ifndef SENSORHOST_CHANNEL_SETUP_H
#define SENSORHOST_CHANNEL_SETUP_H

#include <string>
#include <vector>

#include "MachineInfo.h"
#include "ModuleConfigure.h"
#include "SensorTypes.h"

namespace sensorhost {

struct ChannelSetup {
    int m_nChannel = 1;
    MachineInfo m_objMachine;
    bool m_bMachineRead = false;  // false: only modules without model and code match
    ModuleConfigure m_objModule;
    // Filled by loadFactorySet, from the library's own system configuration.
    int m_nSchemeCount = 0;             // user schemes; scheme m_nSchemeCount is the factory one
    std::vector<KeyVal> m_vecFactory;   // factory values in factory order
    std::string m_strStyleProblem;      // why the style gives no factory values, or ""

    std::vector<u32> factoryKeys() const;
    // The parameter file of a user scheme as the library names it for this
    // channel: a single thermal camera's channel and a dual camera's thermal
    // channel have their own names.
    std::string schemeFile(int p_nScheme) const;
};

// Machine information and the channel's module configuration below the
// current flash root (the module whose id is the channel, else the first
// that matches the machine). "" or why there is none.
std::string readChannelSetup(int p_nChannel, ChannelSetup& p_stOut);

// Asks the library for the channel's system configuration and factory
// values, as init computes them (needs the image-algorithm library's
// current profile). Fills the scheme count, the factory set and, when the
// style yields nothing, m_strStyleProblem.
void loadFactorySet(ChannelSetup& p_stSetup);

// The factory keys of a channel of the camera whose flash tree is
// p_strRoot, in factory order, worked out on a scratch copy so that the tree
// stays untouched. Empty when there are none; p_strWhy then says why.
std::vector<u32> factoryKeysOf(const std::string& p_strRoot, int p_nChannel, std::string& p_strWhy);

}  // namespace sensorhost

#endif
