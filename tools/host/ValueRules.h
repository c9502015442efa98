// Which values a key accepts, as the dynamic UI style describes it (a
// "min"/"max" range or a menu of item indexes), plus the fixed rules of the
// time-window keys. Checked before a value is sent to the library.
#ifndef SENSORHOST_VALUE_RULES_H
#define SENSORHOST_VALUE_RULES_H

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "SensorTypes.h"

namespace sensorhost {

struct ValueRule {
    enum Kind { kAny, kRange, kMenu };
    Kind m_eKind = kAny;
    long long m_nMin = 0;
    long long m_nMax = 0;
    std::vector<long long> m_vecItems;
    std::string m_strName;  // the style's name of the setting
    // "0 ... 100" or "0, 1, 2"; "" for kAny.
    std::string allowedText() const;
};

enum class Verdict {
    kAllowed,
    kUnknownKey,  // neither in the key table nor in the style: allowed, with a warning
    kRefused      // outside the range or the menu, or not a clock time
};

struct ValueCheck {
    Verdict m_eVerdict = Verdict::kAllowed;
    std::string m_strReason;  // for kUnknownKey and kRefused
};

class ValueRules {
public:
    // Reads the rules of the dynamic style document (getUIStyleFile); ""
    // or why the document cannot be read (then only the fixed rules apply).
    std::string load(const std::string& p_strStyle);
    // The style's rule for a key; null when the style does not list it.
    const ValueRule* find(u32 p_nKey) const;
    ValueCheck check(u32 p_nKey, int32_t p_nValue) const;

private:
    std::map<u32, ValueRule> m_mapRules;
};

}  // namespace sensorhost

#endif
