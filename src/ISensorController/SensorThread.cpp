// The sensor thread's work: serving the field-of-view request posted for
// channel 1 and switching schemes automatically, by day/night state or by
// the time windows of the schemes (with the LPR variant).
#define SNS_SOURCE_FILE "ISensorController"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <list>
#include <string>

#include "AtomicWord.h"
#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"
#include "ISensorController/SchemeFiles.h"
#include "PKDeviceTime.h"
#include "PKFile.h"
#include "PelkorTime.h"
#include "SensorDebug.h"

namespace {

const u32 kTimeMatchInside = 1;
const u32 kTimeMatchOutside = 0;

// One pass per second; stopping the thread ends the pause at once.
const long kPassSeconds = 1;
// The pass waits for the controller's mutex in slices, so that a stop
// request (uinit may hold the mutex while it stops the thread) ends the wait.
const long kLockSliceMicros = 10000;

// Holds the controller's mutex for the scheme work of one pass. A host that
// keeps the mutex busy delays the pass by at most about one pass period.
class SchemePassLock
{
public:
    SchemePassLock(PKMutex& p_objMutex, PelkorWakeup& p_objWakeup) : m_objMutex(p_objMutex), m_bOwned(false)
    {
        const double dBound = PelkorTime(kPassSeconds, 0).scaledSeconds();
        long nSlices = static_cast<long>(dBound * 1e6 / kLockSliceMicros);
        if (nSlices < 1) nSlices = 1;
        for (long i = 0; i < nSlices && !p_objWakeup.isWoken(); ++i) {
            if (m_objMutex.TimedLock(__FILE__, __LINE__, kLockSliceMicros)) {
                m_bOwned = true;
                return;
            }
        }
    }
    ~SchemePassLock()
    {
        if (m_bOwned) m_objMutex.Unlock(__FILE__, __LINE__);
    }
    SchemePassLock(const SchemePassLock&) = delete;
    SchemePassLock& operator=(const SchemePassLock&) = delete;
    bool owned() const { return m_bOwned; }

private:
    PKMutex& m_objMutex;
    bool m_bOwned;
};

// "<name><channel>" followed later by "=" and, after that, by ","; the value
// is read right after the "=". Returns p_nCurrent when the line has no entry.
int fovEntry(const std::string& p_strLine, const char* p_szName, int p_nChannel, int p_nCurrent)
{
    char szName[32] = {0};
    snprintf(szName, sizeof(szName), "%s%d", p_szName, p_nChannel);
    const size_t nName = p_strLine.find(szName);
    if (nName == std::string::npos) return p_nCurrent;
    const size_t nEqual = p_strLine.find('=', nName);
    if (nEqual == std::string::npos) return p_nCurrent;
    if (p_strLine.find(',', nEqual) == std::string::npos) return p_nCurrent;
    return atoi(p_strLine.c_str() + nEqual + 1);
}

}  // namespace

int ISensorController::sensorThread()
{
    // Woken: the thread is being stopped, the pass does nothing.
    if (!atomicAny(m_nStatusFlag, SNS_STATUS_RESETTING) && !m_objWakeup.sleep(PelkorTime(kPassSeconds, 0)))
        return 0;
    detail(*this).serveFovRequest();
    if (atomicGet(m_nParamMode) == 0) return 0;
    SchemePassLock objLock(m_objMutex, m_objWakeup);
    if (!objLock.owned()) return 0;
    const bool bDNSwitch = atomicGet(m_bDNSwitch);
    if (!bDNSwitch && !atomicGet(m_bTimeSwitch)) return 0;

    int nScheme = 0;
    int nSchedule = 0;
    if (bDNSwitch) {
        nScheme = detail(*this).dayNightScheme();
    } else {
        SNS_ASSERT(SNS_HERE, SNS_SUCCESS == judgeCurScheme(nScheme, nSchedule),
                   "SNS_SUCCESS == judgeCurScheme(nScheme, nSchedule)", "nScheme(%d)\n", nScheme);
    }
    // A scheme row that does not exist (fewer than two rows) is never chosen.
    if (!detail(*this).hasSchemeRow(nScheme)) return 0;

    if (bDNSwitch || !m_bLPRMode) {
        if (m_nCurScheme == nScheme || atomicAny(m_nStatusFlag, SNS_STATUS_BUSY_MASK)) return 0;
        SNS_ASSERT(SNS_HERE, SNS_SUCCESS == switch_to(nScheme, false), "SNS_SUCCESS == switch_to(nScheme)",
                   "nScheme(%d)\n", nScheme);
        return 0;
    }

    if (nSchedule == 1) {
        if (m_nLastTimeMatch == kTimeMatchInside && m_nCurScheme == nScheme) return 0;
        if (atomicAny(m_nStatusFlag, SNS_STATUS_BUSY_MASK)) return 0;
        if (m_nLastTimeMatch == kTimeMatchInside) {
            SNS_ASSERT(SNS_HERE, SNS_SUCCESS == switch_to(nScheme, false),
                       "SNS_SUCCESS == switch_to(nScheme)", "nScheme(%d)\n", nScheme);
        } else {
            // The window has just been entered: the device may hold the
            // modified night values, so every value is sent.
            SNS_ASSERT(SNS_HERE, SNS_SUCCESS == switch_to(nScheme, true),
                       "SNS_SUCCESS == switch_to(nScheme, true)", "nScheme(%d)\n", nScheme);
        }
        m_nLastTimeMatch = kTimeMatchInside;
        return 0;
    }

    nScheme = detail(*this).dayNightScheme();
    if (!detail(*this).hasSchemeRow(nScheme)) return 0;
    if (m_nLastTimeMatch == kTimeMatchOutside && m_nCurScheme == nScheme) return 0;
    if (atomicAny(m_nStatusFlag, SNS_STATUS_BUSY_MASK)) return 0;
    LPR_switch_to(nScheme);
    m_nLastTimeMatch = kTimeMatchOutside;
    return 0;
}

int SensorControllerDetail::dayNightScheme()
{
    // A failed read leaves the state at 0 (day).
    int nState = 0;
    c.getDNState(nState);
    return nState == 0 ? 0 : 1;
}

void SensorControllerDetail::serveFovRequest()
{
    if (atomicGet(c.m_nChanneldDosomething) != c.m_nCameraID) return;
    if (atomicGet(c.m_nPassKeycmd) == KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV) c.sync_fov();
    atomicSet(c.m_nChanneldDosomething, -1);
    atomicSet(c.m_nPassKeycmd, -1);
}

int ISensorController::judgeCurScheme(int& nScheme, int& nSchedule)
{
    const PKDateTime stNow = PKDeviceTime::getCurrentTime();
    const u32 nNow = (u32)stNow.hour * 100 + stNow.minute;
    nSchedule = 0;
    // Rows too short to hold a window never match.
    if (m_nKeyValSum >= kSchemeWindowRecords) {
        for (u32 s = 0; detail(*this).isUserScheme(s); ++s) {
            u32 nStart = 0;
            u32 nEnd = 0;
            schemeWindow(detail(*this).schemeRow(s), nStart, nEnd);
            if (nStart <= nNow && nNow < nEnd) {
                nScheme = (int)s;
                nSchedule = 1;
                return SNS_SUCCESS;
            }
        }
    }
    nScheme = 0;
    return SNS_SUCCESS;
}

bool ISensorController::sync_fov()
{
    PKFile objFile;
    objFile.open(SNS_PATH_SYNC_FOV, PKFile::modeRead);
    const std::list<std::string> lstLines = objFile.ReadLines();
    objFile.close();

    int nZoom = -1;
    int nFocus = -1;
    for (const std::string& strLine : lstLines) {
        nZoom = fovEntry(strLine, "zoom", m_nCameraID, nZoom);
        nFocus = fovEntry(strLine, "focus", m_nCameraID, nFocus);
        printf("zoom= %d,focus= %d \n", nZoom, nFocus);
        if (nZoom > 0 && nFocus > 0) break;
    }
    // The focus only ends the search; the lens focuses by itself.
    if (nZoom > 0) setZoomValue(nZoom);
    return true;
}
