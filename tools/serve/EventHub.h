// Server-Sent Events: every connected client gets every event, in order,
// through its own bounded queue. Publishing never blocks on a client.
#ifndef SERVE_EVENT_HUB_H
#define SERVE_EVENT_HUB_H

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

class EventHub {
public:
    struct Client;

    EventHub(size_t p_nMaxClients, std::chrono::milliseconds p_tKeepAlive);

    // A new client, or null when the hub is full or shut down.
    std::shared_ptr<Client> subscribe();
    void unsubscribe(const std::shared_ptr<Client>& p_pClient);

    // "event: NAME" and one "data:" line with the JSON, to every client.
    void publish(const std::string& p_strEvent, const nlohmann::json& p_objData);

    // Waits for what the client must be sent next: its queued events, or a
    // keep-alive comment when nothing came for the keep-alive interval.
    // False when its stream must end (shutdown, or it fell too far behind).
    bool next(Client& p_objClient, std::string& p_strOut);

    // Ends every stream; later subscriptions are refused.
    void shutdown();
    size_t clientCount();

private:
    const size_t m_nMaxClients;
    const std::chrono::milliseconds m_tKeepAlive;
    std::mutex m_objMutex;
    std::condition_variable m_objWake;
    std::vector<std::shared_ptr<Client>> m_vecClients;
    bool m_bShutdown = false;
};

struct EventHub::Client {
    std::deque<std::string> m_deqPending;
    bool m_bDropped = false;  // its queue overflowed; the stream ends
};

#endif
