// One camera channel as the server holds it: the host layer's session, the
// video module that turns notifications into events, and what the server
// last told its clients, so that it can tell them what changed.
#ifndef SERVE_CHANNEL_H
#define SERVE_CHANNEL_H

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "HostSession.h"
#include "HostVideo.h"
#include "StyleJson.h"

class CallJournal;
class EventHub;
struct ServeConfig;

// The host's video module as the server plays it: one main stream, and
// every notification journalled and published as a "notify" event.
class ServeVideo : public sensorhost::HostVideo {
public:
    ServeVideo(int p_nChannel, EventHub& p_objHub, CallJournal* p_pJournal);
    int notifySensorParam(int channel, int key, int value) const override;
    // While quiet (init and a factory reset apply every value) nothing is published.
    void setQuiet(bool p_bQuiet) { m_bQuiet.store(p_bQuiet); }

private:
    int m_nChannel;
    EventHub& m_objHub;
    CallJournal* m_pJournal;
    std::atomic<bool> m_bQuiet{true};
};

class ServeChannel {
public:
    ServeChannel(int p_nChannel, EventHub& p_objHub, CallJournal* p_pJournal);
    // Opens the channel on the flash tree; "" or why not.
    std::string open(const ServeConfig& p_stConfig);
    void close() { m_objHost.close(); }

    int channel() const { return m_nChannel; }
    sensorhost::HostSession& host() { return m_objHost; }
    ISensorController& ctrl() { return m_objHost.controller(); }
    ServeVideo& video() { return m_objVideo; }
    StyleJsonCache& styleCache() { return m_objStyle; }
    // Serialises the server's own multi-step operations on the channel and
    // its look for switches of the sensor thread; library calls lock inside.
    std::mutex& ops() { return m_objOps; }

    // Every value of the current scheme, in factory order.
    std::vector<KeyVal> currentValues();
    // The channel as /api/channels lists it (hold ops()).
    nlohmann::json describe();

    // Hold ops() for the following.
    // Publishes what changed since the last look: a "scheme" event when
    // another scheme is current (with p_szReason, or for the sensor thread
    // the reason its scheme mode gives) and a "param" event per changed value.
    void publishChanges(const char* p_szSource, const char* p_szReason);
    // The sensor thread's switches: publishChanges when another scheme is current.
    void noticeSwitch();
    // Keys the server itself just set: their values now in force, published.
    std::vector<KeyVal> publishKeys(const std::vector<u32>& p_vecKeys);
    // Takes the present state as known, publishing nothing (after a reset).
    void forgetChanges();

private:
    int m_nChannel;
    EventHub& m_objHub;
    ServeVideo m_objVideo;
    sensorhost::HostSession m_objHost;
    StyleJsonCache m_objStyle;
    std::mutex m_objOps;
    int m_nKnownScheme = -1;
    std::vector<KeyVal> m_vecKnown;
};

// {"channel", "key", "name", "value", "source"} of a param event; also one
// entry of the params lists (without channel and source).
nlohmann::json paramJson(const KeyVal& p_stValue);

#endif
