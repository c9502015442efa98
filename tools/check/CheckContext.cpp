#include "CheckContext.h"

#include <filesystem>

#include "ParamFile.h"
#include "PlatformSim.h"

namespace {

// Far above any real document; a hostile file is not read into memory whole.
const size_t kMaxDocumentSize = 16 * 1024 * 1024;
// TinyXML may step past the terminator over a UTF-8 sequence cut short at
// the end; zero bytes behind the text stop it there.
const size_t kParsePadding = 8;

}  // namespace

bool readCameraFile(const std::string& p_strCameraPath, std::string& p_strOut)
{
    return sensorhost::readLimited(platformsim::resolvePath(p_strCameraPath), p_strOut, kMaxDocumentSize).empty();
}

bool cameraFileExists(const std::string& p_strCameraPath)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(platformsim::resolvePath(p_strCameraPath), ec);
}

XmlFile parseXmlText(const std::string& p_strText)
{
    XmlFile stFile;
    stFile.m_bPresent = true;
    stFile.m_pDoc = std::make_unique<TiXmlDocument>();
    std::string strPadded = p_strText;
    strPadded.append(kParsePadding, '\0');
    stFile.m_pDoc->Parse(strPadded.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (stFile.m_pDoc->Error()) {
        stFile.m_strError = "line " + std::to_string(stFile.m_pDoc->ErrorRow()) + ", column " +
                            std::to_string(stFile.m_pDoc->ErrorCol()) + ": " + stFile.m_pDoc->ErrorDesc();
    } else if (stFile.m_pDoc->RootElement() == nullptr) {
        stFile.m_strError = "no element at all";
    } else {
        stFile.m_bParsed = true;
    }
    return stFile;
}

XmlFile loadXmlFile(const std::string& p_strCameraPath)
{
    std::string strText;
    if (!cameraFileExists(p_strCameraPath)) return XmlFile();
    if (!readCameraFile(p_strCameraPath, strText)) {
        XmlFile stFile;
        stFile.m_bPresent = true;
        stFile.m_strError = "cannot be read";
        return stFile;
    }
    return parseXmlText(strText);
}

std::string elementText(const TiXmlElement* p_pElement)
{
    if (p_pElement == nullptr) return "";
    std::string strText = "<" + p_pElement->ValueStr();
    for (const char* szName : {"id", "key", "tab_key", "name"}) {
        const char* szValue = p_pElement->Attribute(szName);
        if (szValue != nullptr) strText += std::string(" ") + szName + "=\"" + szValue + "\"";
    }
    return strText + ">";
}

std::string styleItemWhere(const TiXmlElement* p_pItem)
{
    // The tab is the ancestor right below the root element.
    const TiXmlNode* pTab = p_pItem;
    while (pTab->Parent() != nullptr && pTab->Parent()->Parent() != nullptr &&
           pTab->Parent()->Parent()->Type() != TiXmlNode::TINYXML_DOCUMENT)
        pTab = pTab->Parent();
    const TiXmlElement* pTabElement = pTab->ToElement();
    const char* szKey = pTabElement != nullptr ? pTabElement->Attribute("key") : nullptr;
    const std::string strItem = elementText(p_pItem);
    if (pTabElement == p_pItem || szKey == nullptr) return strItem;
    return std::string("tab '") + szKey + "', " + strItem;
}
