#include "EventHub.h"

#include <algorithm>

namespace {

// A client this far behind is disconnected; EventSource reconnects and the
// page reads the state again.
const size_t kMaxPending = 1024;

}  // namespace

EventHub::EventHub(size_t p_nMaxClients, std::chrono::milliseconds p_tKeepAlive)
    : m_nMaxClients(p_nMaxClients), m_tKeepAlive(p_tKeepAlive)
{
}

std::shared_ptr<EventHub::Client> EventHub::subscribe()
{
    std::lock_guard<std::mutex> objLock(m_objMutex);
    if (m_bShutdown || m_vecClients.size() >= m_nMaxClients) return nullptr;
    m_vecClients.push_back(std::make_shared<Client>());
    return m_vecClients.back();
}

void EventHub::unsubscribe(const std::shared_ptr<Client>& p_pClient)
{
    std::lock_guard<std::mutex> objLock(m_objMutex);
    m_vecClients.erase(std::remove(m_vecClients.begin(), m_vecClients.end(), p_pClient),
                       m_vecClients.end());
}

void EventHub::publish(const std::string& p_strEvent, const nlohmann::json& p_objData)
{
    // Nobody listening (a script's requests): no text to make. A client that
    // subscribes meanwhile reads the state first anyway.
    if (clientCount() == 0) return;
    const std::string strText = "event: " + p_strEvent + "\ndata: " + p_objData.dump() + "\n\n";
    {
        std::lock_guard<std::mutex> objLock(m_objMutex);
        for (const std::shared_ptr<Client>& pClient : m_vecClients) {
            if (pClient->m_deqPending.size() >= kMaxPending) pClient->m_bDropped = true;
            if (!pClient->m_bDropped) pClient->m_deqPending.push_back(strText);
        }
    }
    m_objWake.notify_all();
}

bool EventHub::next(Client& p_objClient, std::string& p_strOut)
{
    std::unique_lock<std::mutex> objLock(m_objMutex);
    const bool bWoken = m_objWake.wait_for(objLock, m_tKeepAlive, [&] {
        return m_bShutdown || p_objClient.m_bDropped || !p_objClient.m_deqPending.empty();
    });
    if (m_bShutdown || p_objClient.m_bDropped) return false;
    p_strOut.clear();
    if (!bWoken) {
        p_strOut = ": keep-alive\n\n";
        return true;
    }
    for (const std::string& strEvent : p_objClient.m_deqPending) p_strOut += strEvent;
    p_objClient.m_deqPending.clear();
    return true;
}

void EventHub::shutdown()
{
    {
        std::lock_guard<std::mutex> objLock(m_objMutex);
        m_bShutdown = true;
    }
    m_objWake.notify_all();
}

size_t EventHub::clientCount()
{
    std::lock_guard<std::mutex> objLock(m_objMutex);
    return m_vecClients.size();
}
