// What init (and the command after it) would destroy or cannot do on a
// flash tree, found before the library touches it.
#ifndef SENSORHOST_PREFLIGHT_H
#define SENSORHOST_PREFLIGHT_H

#include <string>
#include <vector>

#include "ChannelSetup.h"
#include "HostFlash.h"

namespace sensorhost {

enum class FindingKind {
    kNotWritable,     // a folder the library writes to cannot be written
    kNoModule,        // no module configuration for the channel
    kBadStyle,        // the style gives no factory values
    kResetsSchemes,   // init would replace the saved schemes by factory values
    kDamagedScheme    // a saved scheme file is not a whole factory set
};

struct Finding {
    FindingKind m_eKind;
    std::string m_strText;  // for people, one line
    // Saved data would be lost; the user may accept that (--allow-reset).
    bool losesData() const
    {
        return m_eKind == FindingKind::kResetsSchemes || m_eKind == FindingKind::kDamagedScheme;
    }
};

struct PreflightReport {
    std::vector<Finding> m_vecFindings;
    // Whether the controller may be started: nothing that cannot work, and
    // data loss only when accepted.
    bool allows(bool p_bLossAccepted) const;
    // The findings that stop the start, in order.
    std::vector<Finding> blocking(bool p_bLossAccepted) const;
};

// Checks the tree for one channel. Sets the flash root, reads the channel
// setup into p_stSetup and asks the library for the factory set.
PreflightReport preflight(const FlashTree& p_stTree, int p_nChannel, ChannelSetup& p_stSetup);

// Real paths of the channel's existing parameter files (schemes 0 .. p_nSchemes-1).
std::vector<std::string> existingSchemeFiles(const FlashTree& p_stTree, const ChannelSetup& p_stSetup, int p_nSchemes);

}  // namespace sensorhost

#endif
