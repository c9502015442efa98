// The controller session of sensorctl: the host layer's session with a
// video module of the tool's own that logs what it receives.
#ifndef SENSORCTL_SESSION_H
#define SENSORCTL_SESSION_H

#include <atomic>
#include <string>

#include "HostSession.h"
#include "HostVideo.h"
#include "ToolOptions.h"

// The host's video module as the tool plays it: every notification is counted
// and, while echo is on, printed ("video: channel 1 key 2384 (KEY_MIRROR) value 1").
class ToolVideo : public sensorhost::HostVideo {
public:
    int notifySensorParam(int channel, int key, int value) const override;

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
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens the flash folder (a copy of the sample camera when missing),
    // routes the library's console, runs the preflight and starts the
    // controller. Findings and failures are told on standard error; false
    // when the controller was not started.
    bool open();
    // uinit; the controller is destroyed with the session.
    void close() { m_objHost.close(); }

    sensorhost::HostSession& host() { return m_objHost; }
    ISensorController& controller() { return m_objHost.controller(); }
    const ToolVideo& video() const { return m_objVideo; }
    void setVideoEcho(bool p_bEcho) { m_objVideo.setEcho(p_bEcho); }
    int channel() const { return m_stOptions.m_nChannel; }
    // Channel as the image-algorithm library numbers it.
    int iaChannel() const { return m_stOptions.m_nChannel - 1; }
    // User schemes; scheme schemeCount() is the factory scheme.
    int schemeCount() const { return m_objHost.schemeCount(); }
    const std::string& flashDir() const { return m_objHost.flash().m_strRoot; }
    // The factor the library's sleeps are scaled with in this run.
    double sleepScale() const { return m_stOptions.m_dSleepScale; }
    // The flash folder was made from the sample camera in this run.
    bool createdFromSample() const { return m_objHost.flash().m_bCreated; }
    const MachineInfo& machineInfo() const { return m_objHost.setup().m_objMachine; }
    const ModuleConfigure& module() const { return m_objHost.setup().m_objModule; }

private:
    void routeConsole();

    ToolOptions m_stOptions;
    ToolVideo m_objVideo;
    sensorhost::HostSession m_objHost;
};

#endif
