// The controller session: a controller built exactly as a host builds it,
// with a video module of the tool's own that logs what it receives.
#ifndef SENSORCTL_SESSION_H
#define SENSORCTL_SESSION_H

#include <atomic>
#include <memory>
#include <string>

#include "ISensorController.h"
#include "ToolOptions.h"

// The host's video module as the tool plays it: every notification is counted
// and, while echo is on, printed ("video: channel 1 key 2384 (KEY_MIRROR) value 1").
class ToolVideo : public VideoStreamModule {
public:
    int notifySensorParam(int channel, int key, int value) const override;
    bool isBusy() const override;
    void getStreamList(std::vector<AVStreamParam>& streams) const override;
    void getLimitedFramesWDRModeParam(int channel, LimitedFramesWDRModeParam& param) const override;

    // Notifications received so far (the sensor thread notifies too).
    int notificationCount() const { return m_nNotes.load(); }
    void setEcho(bool p_bEcho) { m_bEcho.store(p_bEcho); }

private:
    mutable std::atomic<int> m_nNotes{0};
    std::atomic<bool> m_bEcho{true};
};

class Session {
public:
    explicit Session(const ToolOptions& p_stOptions);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Prepares the flash folder, reads the module configuration, builds and
    // initialises the controller. Returns "" or why it could not.
    std::string open();
    // uinit; the controller is destroyed with the session.
    void close();

    ISensorController& controller() { return *m_pController; }
    const ToolVideo& video() const { return m_objVideo; }
    void setVideoEcho(bool p_bEcho) { m_objVideo.setEcho(p_bEcho); }
    int channel() const { return m_stOptions.m_nChannel; }
    // Channel as the image-algorithm library numbers it.
    int iaChannel() const { return m_stOptions.m_nChannel - 1; }
    // User schemes the library keeps for the module (schemeSumOf); scheme
    // schemeCount() is the factory scheme.
    int schemeCount() const { return m_nSchemeCount; }
    const std::string& flashDir() const { return m_strFlashDir; }
    // The factor the library's sleeps are scaled with in this run.
    double sleepScale() const { return m_stOptions.m_dSleepScale; }
    // The flash folder was made from the sample camera in this run.
    bool createdFromSample() const { return m_bCreatedFromSample; }
    const MachineInfo& machineInfo() const { return m_objMachineInfo; }
    const ModuleConfigure& module() const { return m_objModule; }

private:
    std::string readModuleConfigure();
    void warnDamagedFiles() const;

    ToolOptions m_stOptions;
    std::string m_strFlashDir;
    ToolVideo m_objVideo;
    MachineInfo m_objMachineInfo;
    ModuleConfigure m_objModule;
    std::unique_ptr<ISensorController> m_pController;
    int m_nSchemeCount = 0;
    bool m_bOpen = false;
    bool m_bCreatedFromSample = false;
};

#endif
