// Keys and values on the command line: keys by number or by name (any case,
// with or without the KEY_ prefix), values as 32-bit numbers.
#ifndef SENSORHOST_KEY_ARGS_H
#define SENSORHOST_KEY_ARGS_H

#include <stdint.h>

#include <string>
#include <vector>

#include "SensorTypes.h"

namespace sensorhost {

struct KeyValueArg {
    u32 m_nKey;
    int32_t m_nValue;
};

// A decimal number in [p_nLow, p_nHigh], nothing else in the text.
bool parseNumber(const std::string& p_strText, long long p_nLow, long long p_nHigh,
                 long long& p_nOut);

// A key number (any, the library sends unknown keys under their own number)
// or a name of the key table. False when neither.
bool parseKey(const std::string& p_strText, u32& p_nKey);
// A value as the parameter text carries it: -2147483648 .. 4294967295, the
// upper half stored as its 32-bit pattern.
bool parseValue(const std::string& p_strText, int32_t& p_nValue);
// "KEY=VALUE"; returns "" or what is wrong with it.
std::string parseAssignment(const std::string& p_strText, KeyValueArg& p_stOut);
// parseKey with the error text for an unknown key ("" when it parsed).
std::string parseKeyArg(const std::string& p_strText, u32& p_nKey);

// The key table's name, or "-" for a key without a row.
std::string keyName(u32 p_nKey);
// "KEY_BRIGHTNESS (34)", or "key 4000" for a key without a row.
std::string keyLabel(u32 p_nKey);
// Names of the key table nearest to a mistyped name, best first.
std::vector<std::string> closestKeyNames(const std::string& p_strText, size_t p_nMax);

}  // namespace sensorhost

#endif
