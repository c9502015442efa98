// What the route handlers of the HTTP API share.
#ifndef SERVE_CONTEXT_H
#define SERVE_CONTEXT_H

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include <httplib.h>

#include "CallJournal.h"
#include "EventHub.h"
#include "ServeChannel.h"
#include "ServeConfig.h"

struct ServeContext {
    explicit ServeContext(const ServeConfig& p_stConfig);

    // The channel named by the path's first number; answers 404 and gives
    // null when there is no such channel.
    ServeChannel* channelOf(const httplib::Request& p_objReq, httplib::Response& p_objRes);

    const ServeConfig m_stConfig;
    EventHub m_objHub;
    CallJournal m_objJournal;
    std::vector<std::unique_ptr<ServeChannel>> m_vecChannels;
    // The simulated wall clock follows the machine's (until /api/sim/clock sets it).
    std::atomic<bool> m_bRealClock{true};
};

// Route groups, one file each.
void addChannelRoutes(httplib::Server& p_objServer, ServeContext& p_objContext);  // info, channels, style, ranges
void addParamRoutes(httplib::Server& p_objServer, ServeContext& p_objContext);    // params
void addSchemeRoutes(httplib::Server& p_objServer, ServeContext& p_objContext);   // schemes, save, reset, mode
void addSimRoutes(httplib::Server& p_objServer, ServeContext& p_objContext);      // sim, calls
void addEventRoute(httplib::Server& p_objServer, ServeContext& p_objContext);     // events
// The page: index.html with the token, and the other files of its folder.
void addPageRoutes(httplib::Server& p_objServer, const std::string& p_strWebDir,
                   const std::string& p_strToken);

#endif
