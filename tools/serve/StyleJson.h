// The library's dynamic UI style document as JSON for the HTTP API: tabs in
// document order, each with its items (groups flattened), every item with
// its kind, default, range or menu and enable list.
#ifndef SERVE_STYLE_JSON_H
#define SERVE_STYLE_JSON_H

#include <mutex>
#include <string>

#include <nlohmann/json.hpp>

// {"channel": C, "tabs": [...]}; an unparsable document gives no tabs and
// p_strError says why.
nlohmann::json styleToJson(int p_nChannel, const std::string& p_strStyle, std::string& p_strError);

// The last conversion of one channel's style: the library builds its
// document anew on every request, but it only changes when the
// image-algorithm library's answers change, so an equal text reuses the JSON.
class StyleJsonCache {
public:
    // The serialised JSON of p_strStyle; "" with p_strError set when it does not parse.
    std::string get(int p_nChannel, const std::string& p_strStyle, std::string& p_strError);

private:
    std::mutex m_objMutex;
    std::string m_strStyle;
    std::string m_strJson;
};

#endif
