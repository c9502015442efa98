// Parameter files (8-byte little-endian records {key, value}) and the
// version file, read with a size limit and checked record by record.
#ifndef SENSORHOST_PARAM_FILE_H
#define SENSORHOST_PARAM_FILE_H

#include <stddef.h>

#include <string>
#include <vector>

#include "SensorTypes.h"

namespace sensorhost {

// No parameter or version file of a camera comes near this size.
const size_t kMaxParamFileBytes = 64 * 1024;

// Reads a whole regular file of at most p_nLimit bytes; "" or the reason
// (missing, a folder, too large, unreadable).
std::string readLimited(const std::string& p_strPath, std::string& p_strBytes,
                        size_t p_nLimit = kMaxParamFileBytes);

// The whole records of a parameter file image; p_nLeftOver gets the bytes
// after the last whole record.
std::vector<KeyVal> decodeRecords(const std::string& p_strBytes, size_t& p_nLeftOver);

// The first little-endian u32 of a version file image; false when shorter.
bool decodeVersion(const std::string& p_strBytes, u32& p_nVersion);

// Whole-record damage of a parameter file, one text per problem: key 0
// records, repeated keys, keys out of the factory order or unknown to it,
// fewer or more records than the factory set. p_vecFactoryKeys may be empty
// (no reference: only key 0 and repeats are found).
std::vector<std::string> recordProblems(const std::vector<KeyVal>& p_vecRecords,
                                        const std::vector<u32>& p_vecFactoryKeys);

// Size and record problems of a file image in one list (size first).
std::vector<std::string> fileProblems(const std::string& p_strBytes,
                                      const std::vector<u32>& p_vecFactoryKeys);

}  // namespace sensorhost

#endif
