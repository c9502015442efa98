// GET /api/events (Server-Sent Events) and the page's files.
#include "JsonHttp.h"
#include "ParamFile.h"
#include "ServeContext.h"

namespace {

const char kTokenPlaceholder[] = "<meta name=\"sensorctl-token\" content=\"\">";
// Far above any file of the page.
const size_t kMaxPageFileBytes = 4 * 1024 * 1024;

struct ContentType {
    const char* szExtension;
    const char* szType;
};

const ContentType kContentTypes[] = {
    {".html", "text/html; charset=utf-8"}, {".css", "text/css; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"}, {".mjs", "text/javascript; charset=utf-8"},
    {".json", "application/json"}, {".svg", "image/svg+xml"}, {".png", "image/png"},
    {".ico", "image/x-icon"}, {".txt", "text/plain; charset=utf-8"},
};

const char* contentTypeOf(const std::string& p_strPath)
{
    for (const ContentType& stType : kContentTypes) {
        const size_t nLen = strlen(stType.szExtension);
        if (p_strPath.size() > nLen && p_strPath.compare(p_strPath.size() - nLen, nLen, stType.szExtension) == 0)
            return stType.szType;
    }
    return "application/octet-stream";
}

// A path below the page's folder: plain names only, no "..", no hidden files.
bool safeRelativePath(const std::string& p_strPath)
{
    if (p_strPath.empty() || p_strPath.size() > 200) return false;
    size_t nStart = 0;
    while (nStart <= p_strPath.size()) {
        size_t nEnd = p_strPath.find('/', nStart);
        if (nEnd == std::string::npos) nEnd = p_strPath.size();
        if (nEnd == nStart || p_strPath[nStart] == '.') return false;
        for (size_t i = nStart; i < nEnd; ++i)
            if (p_strPath[i] == '\\' || static_cast<unsigned char>(p_strPath[i]) < 0x20) return false;
        nStart = nEnd + 1;
    }
    return true;
}

void sendFile(const std::string& p_strWebDir, const std::string& p_strToken, const std::string& p_strPath,
              httplib::Response& p_objRes)
{
    std::string strBody;
    if (!safeRelativePath(p_strPath) || !sensorhost::readLimited(p_strWebDir + "/" + p_strPath, strBody, kMaxPageFileBytes).empty())
        return sendError(p_objRes, 404, "no such file: /" + p_strPath);
    if (p_strPath == "index.html") {
        const size_t nAt = strBody.find(kTokenPlaceholder);
        if (nAt == std::string::npos)
            return sendError(p_objRes, 500, "the page's index.html has no token placeholder");
        strBody.replace(nAt, strlen(kTokenPlaceholder),
                        "<meta name=\"sensorctl-token\" content=\"" + p_strToken + "\">");
        // The token must not outlive the server in a cache.
        p_objRes.set_header("Cache-Control", "no-store");
    }
    p_objRes.set_content(strBody, contentTypeOf(p_strPath));
}

}  // namespace

void addEventRoute(httplib::Server& p_objServer, ServeContext& p_objContext)
{
    EventHub* pHub = &p_objContext.m_objHub;
    p_objServer.Get("/api/events", [pHub](const httplib::Request&, httplib::Response& p_objRes) {
        std::shared_ptr<EventHub::Client> pClient = pHub->subscribe();
        if (pClient == nullptr) return sendError(p_objRes, 503, "too many event clients; try again later");
        p_objRes.set_header("Cache-Control", "no-cache");
        p_objRes.set_chunked_content_provider(
            "text/event-stream",
            [pHub, pClient, bFirst = true](size_t, httplib::DataSink& p_objSink) mutable {
                std::string strText;
                // The first chunk goes at once, so that the client knows it is listening.
                if (bFirst) {
                    bFirst = false;
                    strText = "retry: 1000\n: connected\n\n";
                } else if (!pHub->next(*pClient, strText)) {
                    p_objSink.done();
                    return true;
                }
                return p_objSink.write(strText.data(), strText.size());
            },
            [pHub, pClient](bool) { pHub->unsubscribe(pClient); });
    });
}

void addPageRoutes(httplib::Server& p_objServer, const std::string& p_strWebDir, const std::string& p_strToken)
{
    p_objServer.Get("/", [p_strWebDir, p_strToken](const httplib::Request&, httplib::Response& p_objRes) {
        sendFile(p_strWebDir, p_strToken, "index.html", p_objRes);
    });
    p_objServer.Get(R"(/(?!api/)(.+))",
                    [p_strWebDir, p_strToken](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
                        sendFile(p_strWebDir, p_strToken, p_objReq.matches[1].str(), p_objRes);
                    });
}
