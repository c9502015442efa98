#include "XmlDoc.h"

#include "PKFile.h"
#include "PlatformSim.h"

namespace xmldoc {

bool loadMem(TiXmlDocument& p_objDoc, const char* p_szText)
{
    p_objDoc.Clear();
    p_objDoc.ClearError();
    if (p_szText == nullptr) return false;
    p_objDoc.Parse(p_szText, 0, TIXML_ENCODING_UTF8);
    if (!p_objDoc.Error() && p_objDoc.RootElement() != nullptr) return true;
    // A failed parse keeps what was read before the error; callers get an
    // empty document instead, so a broken text never yields half a style.
    // A text without any element counts as broken too.
    p_objDoc.Clear();
    return false;
}

bool loadFile(TiXmlDocument& p_objDoc, const char* p_szPath)
{
    p_objDoc.Clear();
    p_objDoc.ClearError();
    if (p_szPath == nullptr) return false;
    const std::string strReal = platformsim::resolvePath(p_szPath);
    if (p_objDoc.LoadFile(strReal.c_str(), TIXML_ENCODING_UTF8)) return true;
    p_objDoc.Clear();
    return false;
}

bool saveFile(const TiXmlDocument& p_objDoc, const char* p_szPath)
{
    if (p_szPath == nullptr) return false;
    const std::string strPath(p_szPath);
    const std::string::size_type nSlash = strPath.rfind('/');
    // A fresh flash root may lack the folder (e.g. /tmp); TinyXML opens the
    // file itself and would fail.
    if (nSlash != std::string::npos && nSlash > 0) PKFile::mkdirs(strPath.substr(0, nSlash).c_str());
    return p_objDoc.SaveFile(platformsim::resolvePath(strPath).c_str());
}

std::string toString(const TiXmlDocument& p_objDoc)
{
    TiXmlPrinter objPrinter;
    p_objDoc.Accept(&objPrinter);
    return std::string(objPrinter.CStr(), objPrinter.Size());
}

}  // namespace xmldoc
