#include "ServeChannel.h"

#include "CallJournal.h"
#include "DeviceType.h"
#include "EventHub.h"
#include "FlashLayout.h"
#include "KeyArgs.h"
#include "ParamFile.h"
#include "SensorKeys.h"
#include "SensorLib.h"
#include "ServeConfig.h"

using nlohmann::json;

namespace {

// Values of KEY_SCHEME_MODE: what the sensor thread switches by.
const char* switchReason(u32 p_nMode)
{
    switch (p_nMode) {
    case 1: return "time window";
    case 2: return "day/night";
    default: return "sensor thread";
    }
}

u32 valueOf(const std::vector<KeyVal>& p_vecValues, u32 p_nKey)
{
    for (const KeyVal& stValue : p_vecValues)
        if (stValue.key == p_nKey) return stValue.value;
    return 0;
}

// "HH:MM" of a window's hour and minute keys.
std::string clockText(const std::vector<KeyVal>& p_vecValues, u32 p_nHourKey)
{
    char szText[16];
    snprintf(szText, sizeof(szText), "%02u:%02u", valueOf(p_vecValues, p_nHourKey) % 100,
             valueOf(p_vecValues, p_nHourKey + 1) % 100);
    return szText;
}

// The machine's device type in words: what the page shows beside the channel.
const char* deviceName(int p_nType)
{
    switch (p_nType) {
    case DeviceType::IPDOME:
    case DeviceType::DOMECORE: return "dome";
    case DeviceType::LPR: return "lpr";
    case DeviceType::FISHEYE: return "fisheye";
    case DeviceType::THERMAL_DEVICE:
    case DeviceType::THERMAL_DOUBLE_SENSOR_DEVICE:
    case DeviceType::THERMAL_DOUBLE_SENSOR_DOME_DEVICE:
    case DeviceType::THERMAL_IPDOME:
    case DeviceType::DOMECORE_THERMAL_DEVICE: return "thermal";
    default: return "normal";
    }
}

bool sameValues(const std::vector<KeyVal>& p_vecA, const std::vector<KeyVal>& p_vecB)
{
    if (p_vecA.size() != p_vecB.size()) return false;
    for (size_t i = 0; i < p_vecA.size(); ++i)
        if (p_vecA[i].key != p_vecB[i].key || p_vecA[i].value != p_vecB[i].value) return false;
    return true;
}

}  // namespace

json paramJson(const KeyVal& p_stValue)
{
    const char* szName = findKeyName(p_stValue.key);
    return {{"key", p_stValue.key},
            {"name", szName != nullptr ? json(szName) : json(nullptr)},
            {"value", static_cast<int32_t>(p_stValue.value)}};
}

ServeVideo::ServeVideo(int p_nChannel, EventHub& p_objHub, CallJournal* p_pJournal)
    : m_nChannel(p_nChannel), m_objHub(p_objHub), m_pJournal(p_pJournal)
{
}

int ServeVideo::notifySensorParam(int, int key, int value) const
{
    if (m_pJournal != nullptr) m_pJournal->addNotify(m_nChannel, key, value);
    if (!m_bQuiet.load())
        m_objHub.publish("notify", {{"channel", m_nChannel}, {"key", key}, {"value", value}});
    return 0;
}

ServeChannel::ServeChannel(int p_nChannel, EventHub& p_objHub, CallJournal* p_pJournal)
    : m_nChannel(p_nChannel), m_objHub(p_objHub), m_objVideo(p_nChannel, p_objHub, p_pJournal)
{
}

std::string ServeChannel::open(const ServeConfig& p_stConfig)
{
    sensorhost::SessionOptions stOptions;
    stOptions.m_strFlashDir = p_stConfig.m_strFlashDir;
    stOptions.m_nChannel = m_nChannel;
    stOptions.m_bLossAccepted = p_stConfig.m_bLossAccepted;
    stOptions.m_pVideo = &m_objVideo;
    // The simulator's state is shared by the channels: only the first starts it afresh.
    stOptions.m_bResetSimulator = m_nChannel == 1;
    const std::string strError = m_objHost.open(stOptions);
    if (!strError.empty()) {
        for (const sensorhost::Finding& stFinding : m_objHost.preflightReport().blocking(p_stConfig.m_bLossAccepted))
            if (stFinding.losesData())
                return strError + "; nothing was changed (`sensorctl --allow-reset serve` starts anyway and accepts the loss)";
        return strError;
    }
    std::lock_guard<std::mutex> objLock(m_objOps);
    forgetChanges();
    m_objVideo.setQuiet(false);
    return "";
}

std::vector<KeyVal> ServeChannel::currentValues()
{
    return m_objHost.currentValues();
}

json ServeChannel::describe()
{
    const int nScheme = m_objHost.currentScheme();
    const std::vector<KeyVal> vecValues = currentValues();
    json objWindows = json::array();
    bool bDirty = false;
    for (int s = 0; s < m_objHost.schemeCount(); ++s) {
        // Other schemes as saved: only the current one can be changed.
        std::vector<KeyVal> vecSaved;
        std::string strBytes;
        size_t nLeftOver = 0;
        if (sensorhost::readLimited(
                sensorhost::onDisk(m_objHost.flash(), m_objHost.setup().schemeFile(s)),
                strBytes)
                .empty())
            vecSaved = sensorhost::decodeRecords(strBytes, nLeftOver);
        if (s == nScheme) bDirty = !sameValues(vecSaved, vecValues);
        const std::vector<KeyVal>& vecWindow = s == nScheme ? vecValues : vecSaved;
        objWindows.push_back({{"scheme", s},
                              {"start", clockText(vecWindow, KEY_SCHEME_START_HOUR)},
                              {"end", clockText(vecWindow, KEY_SCHEME_END_HOUR)}});
    }
    const int nDeviceType = m_objHost.setup().m_objMachine.getDeviceType();
    return {{"channel", m_nChannel},
            {"device", deviceName(nDeviceType)},
            {"device_type", nDeviceType},
            {"scheme_count", m_objHost.schemeCount()},
            {"current_scheme", nScheme},
            {"scheme_mode", valueOf(vecValues, KEY_SCHEME_MODE)},
            {"dirty", bDirty},
            {"windows", objWindows}};
}

void ServeChannel::publishChanges(const char* p_szSource, const char* p_szReason)
{
    const int nScheme = m_objHost.currentScheme();
    const std::vector<KeyVal> vecValues = currentValues();
    if (nScheme != m_nKnownScheme)
        m_objHub.publish("scheme",
                         {{"channel", m_nChannel},
                          {"from", m_nKnownScheme},
                          {"to", nScheme},
                          {"reason", p_szReason != nullptr
                                         ? p_szReason
                                         : switchReason(valueOf(vecValues, KEY_SCHEME_MODE))}});
    for (const KeyVal& stValue : vecValues) {
        if (valueOf(m_vecKnown, stValue.key) == stValue.value) continue;
        json objEvent = paramJson(stValue);
        objEvent["channel"] = m_nChannel;
        objEvent["source"] = p_szSource;
        m_objHub.publish("param", objEvent);
    }
    m_nKnownScheme = nScheme;
    m_vecKnown = vecValues;
}

void ServeChannel::noticeSwitch()
{
    if (m_objHost.currentScheme() != m_nKnownScheme) publishChanges("sensor thread", nullptr);
}

std::vector<KeyVal> ServeChannel::publishKeys(const std::vector<u32>& p_vecKeys)
{
    std::vector<KeyVal> vecOut;
    for (u32 nKey : p_vecKeys) {
        int nValue = 0;
        if (!ctrl().getParameter(static_cast<int>(nKey), nValue)) continue;
        vecOut.push_back(KeyVal{nKey, static_cast<u32>(nValue)});
        for (KeyVal& stKnown : m_vecKnown) {
            if (stKnown.key != nKey || stKnown.value == static_cast<u32>(nValue)) continue;
            stKnown.value = static_cast<u32>(nValue);
            json objEvent = paramJson(vecOut.back());
            objEvent["channel"] = m_nChannel;
            objEvent["source"] = "host";
            m_objHub.publish("param", objEvent);
        }
    }
    return vecOut;
}

void ServeChannel::forgetChanges()
{
    m_nKnownScheme = m_objHost.currentScheme();
    m_vecKnown = currentValues();
}
