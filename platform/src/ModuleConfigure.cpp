// Module configuration document. Format:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <ModuleConfig>
//     <Module id="1" hardware_model="SIM-IPC-2M" hardware_code="A01">
//       <Detail>(max_scheme=4)(lensId=3)(isInfrared=1)</Detail>
//       <Parameters>(34,50)</Parameters>
//     </Module>
//   </ModuleConfig>
//
// A Module matches when its hardware_model and hardware_code equal the ones
// asked; a missing or empty attribute matches any. Matching modules are taken
// in document order; a missing Detail or Parameters gives "". A Module whose
// id is missing or not a number is skipped.
#include "ModuleConfigure.h"

#include <tinyxml.h>

#include "PKFile.h"

namespace {

const int64_t MAX_DOCUMENT_SIZE = 16 * 1024 * 1024;  // far above any real document

bool loadText(const std::string& p_strPath, std::string& p_strText)
{
    PKFile objFile;
    if (!objFile.open(p_strPath.c_str(), PKFile::modeRead)) return false;
    const int64_t nLength = objFile.getLength();
    if (nLength <= 0 || nLength > MAX_DOCUMENT_SIZE) return false;
    p_strText.assign(static_cast<size_t>(nLength), '\0');
    return objFile.read(&p_strText[0], static_cast<unsigned int>(nLength)) == static_cast<int>(nLength);
}

bool attributeMatches(const TiXmlElement& p_objModule, const char* p_szName, const std::string& p_strWanted)
{
    const char* szValue = p_objModule.Attribute(p_szName);
    return szValue == nullptr || szValue[0] == '\0' || p_strWanted == szValue;
}

std::string childText(const TiXmlElement& p_objModule, const char* p_szName)
{
    const TiXmlElement* pChild = p_objModule.FirstChildElement(p_szName);
    const char* szText = pChild ? pChild->GetText() : nullptr;
    return szText ? szText : "";
}

}  // namespace

ModuleConfigure::ModuleConfigure() : m_nModuleId(0) {}

bool ModuleConfigureParser::parse(const std::string& p_strPath, const std::string& p_strModel,
                                  const std::string& p_strCode, std::list<ModuleConfigure>& p_lstOut)
{
    std::string strText;
    if (!loadText(p_strPath, strText)) return false;
    // TinyXML may step past the terminator over a UTF-8 sequence cut short
    // at the end; zero bytes behind the text stop it there.
    strText.append(8, '\0');
    TiXmlDocument objDoc;
    objDoc.Parse(strText.c_str(), nullptr, TIXML_ENCODING_UTF8);
    const TiXmlElement* pRoot = objDoc.RootElement();
    if (objDoc.Error() || pRoot == nullptr || pRoot->ValueStr() != "ModuleConfig") return false;

    for (const TiXmlElement* pModule = pRoot->FirstChildElement("Module"); pModule != nullptr;
         pModule = pModule->NextSiblingElement("Module")) {
        int nId = 0;
        if (pModule->QueryIntAttribute("id", &nId) != TIXML_SUCCESS) continue;
        if (!attributeMatches(*pModule, "hardware_model", p_strModel) ||
            !attributeMatches(*pModule, "hardware_code", p_strCode))
            continue;
        ModuleConfigure objModule;
        objModule.setModuleId(nId);
        objModule.setDetail(childText(*pModule, "Detail"));
        objModule.setParameters(childText(*pModule, "Parameters"));
        p_lstOut.push_back(objModule);
    }
    return true;
}
