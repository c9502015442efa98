// Shutter operations: they step through the shutter values that the
// image-algorithm library lists for KEY_MAX_SHUTTER, and set the chosen one
// through the parameter pipeline so that it is also cached.
#define SNS_SOURCE_FILE "ISensorController"

#include <limits.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "HostOps.h"
#include "IaInterface.h"
#include "ISensorController.h"

namespace {

const size_t kShutterListMax = 30;

// A piece as a stream reads an int: leading blanks skipped, 0 without a
// number, the nearest int when out of range.
int pieceValue(const std::string& p_strPiece)
{
    const long long nValue = strtoll(p_strPiece.c_str(), nullptr, 10);
    if (nValue > INT_MAX) return INT_MAX;
    if (nValue < INT_MIN) return INT_MIN;
    return static_cast<int>(nValue);
}

// Values of a range text ("1 2 4 8"): blank-separated pieces from the left,
// at most kShutterListMax of them; a piece without a number reads as 0.
std::vector<int> parseShutterList(const std::string& p_strRange)
{
    std::vector<int> vecList;
    size_t nPos = 0;
    auto readValue = [&vecList](const std::string& p_strPiece) { vecList.push_back(pieceValue(p_strPiece)); };
    while (vecList.size() < kShutterListMax) {
        const size_t nBlank = p_strRange.find(' ', nPos);
        if (nBlank == std::string::npos) {
            if (nPos < p_strRange.size()) readValue(p_strRange.substr(nPos));
            break;
        }
        readValue(p_strRange.substr(nPos, nBlank - nPos));
        nPos = nBlank + 1;
    }
    return vecList;
}

std::vector<int> shutterList(ISensorController& p_objCtrl)
{
    int nDefault = 0;
    std::string strRange;
    p_objCtrl.getSensorParamRange(KEY_MAX_SHUTTER, nDefault, strRange);
    return parseShutterList(strRange);
}

// Position of the library's current shutter value in the list, -1 when the
// read fails or the value is not listed.
int currentShutterIndex(ISensorController& p_objCtrl, const std::vector<int>& p_vecList)
{
    int nValue = 0;
    if (!hostops::iaGet(p_objCtrl, IA_CMD_MAX_SHUTTER, &nValue)) return -1;
    for (size_t i = 0; i < p_vecList.size(); ++i)
        if (p_vecList[i] == nValue) return static_cast<int>(i);
    return -1;
}

// One step up (+1) or down (-1); at either end the current value is set again.
bool shutterStep(ISensorController& p_objCtrl, int p_nStep)
{
    const std::vector<int> vecList = shutterList(p_objCtrl);
    const int nIndex = currentShutterIndex(p_objCtrl, vecList);
    if (nIndex < 0) return false;
    int nNext = nIndex + p_nStep;
    if (nNext < 0 || nNext >= static_cast<int>(vecList.size())) nNext = nIndex;
    return hostops::setCached(p_objCtrl, KEY_MAX_SHUTTER, vecList[nNext]);
}

}  // namespace

bool ISensorController::getShutterValue(int& p_nIndex)
{
    const std::vector<int> vecList = shutterList(*this);
    const int nIndex = currentShutterIndex(*this, vecList);
    if (nIndex < 0) return false;
    p_nIndex = nIndex;
    return true;
}

bool ISensorController::setShutterValue(int p_nIndex)
{
    const std::vector<int> vecList = shutterList(*this);
    if (p_nIndex < 0 || p_nIndex >= static_cast<int>(vecList.size())) return false;
    return hostops::setCached(*this, KEY_MAX_SHUTTER, vecList[p_nIndex]);
}

bool ISensorController::shutterUp()
{
    return shutterStep(*this, 1);
}

bool ISensorController::shutterDown()
{
    return shutterStep(*this, -1);
}
