// One controller on one channel of a flash tree, built as a camera's host
// builds it, behind a preflight, with saves and resets that are read back
// before they count as done. Front ends (sensorctl, check, serve) use it;
// it prints nothing: results and reasons are returned.
#ifndef SENSORHOST_HOST_SESSION_H
#define SENSORHOST_HOST_SESSION_H

#include <memory>
#include <string>

#include "ChannelSetup.h"
#include "HostFlash.h"
#include "ISensorController.h"
#include "Preflight.h"
#include "ValueRules.h"

namespace sensorhost {

struct SessionOptions {
    std::string m_strFlashDir;
    int m_nChannel = 1;
    bool m_bMayCreate = true;      // a missing or empty folder becomes a copy of the sample camera
    bool m_bLossAccepted = false;  // start even where saved schemes would be lost
    const VideoStreamModule* m_pVideo = nullptr;  // the host's video module (required)
    // The simulator starts from its default profile; a further channel of
    // the same process keeps the state the first one set up.
    bool m_bResetSimulator = true;
};

// The outcome of a save or a factory reset.
struct SaveResult {
    bool m_bWritten = false;   // files were written and read back as expected
    int m_nScheme = -1;        // the scheme saved
    int m_nLibraryCode = 0;    // flush()'s answer
    std::string m_strFailure;  // "" when nothing went wrong (the factory scheme has nothing to save)
    bool ok() const { return m_strFailure.empty(); }
};

class HostSession {
public:
    HostSession();
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Opens the flash tree, runs the preflight and, when it allows the
    // start, builds and initialises the controller. "" or why not (the
    // findings are in preflightReport()).
    std::string open(const SessionOptions& p_stOptions);
    // uinit; the controller is destroyed with the session.
    void close();
    bool isOpen() const { return m_bOpen; }

    const PreflightReport& preflightReport() const { return m_stReport; }
    // The library's failed-assertion count (ConsoleCapture) from which on its
    // reports are news: when init began, or after init when the user accepted
    // findings of the preflight (init then reports what they announced).
    size_t reportMark() const { return m_nReportMark; }
    const FlashTree& flash() const { return m_stTree; }
    const ChannelSetup& setup() const { return m_stSetup; }
    ISensorController& controller() { return *m_pController; }
    int channel() const { return m_stSetup.m_nChannel; }
    int schemeCount() const { return m_stSetup.m_nSchemeCount; }
    // The current scheme (-1 before the first switch).
    int currentScheme();

    // flush, then the parameter file read back against the scheme's values.
    SaveResult saveCurrentScheme();
    // resetParameters, then every scheme file and the version file read back
    // against the factory values.
    SaveResult factoryReset();

    // Every value of the current scheme, in factory order.
    std::vector<KeyVal> currentValues();

    // The rules of the dynamic UI style, read from the library once.
    const ValueRules& valueRules();
    // "" or why the style's rules could not be read.
    const std::string& valueRulesProblem() const { return m_strRulesProblem; }

private:
    std::string compareFile(const std::string& p_strCameraPath, const std::vector<KeyVal>& p_vecExpected,
                            bool p_bLprNight);

    SessionOptions m_stOptions;
    FlashTree m_stTree;
    ChannelSetup m_stSetup;
    PreflightReport m_stReport;
    std::unique_ptr<ISensorController> m_pController;
    bool m_bOpen = false;
    size_t m_nReportMark = 0;
    bool m_bRulesRead = false;
    ValueRules m_objRules;
    std::string m_strRulesProblem;
};

// The library's reason for a refused flush, in words.
std::string flushRefusalText(int p_nCode);

}  // namespace sensorhost

#endif
