#include "XmlDoc.h"

#include "PKFile.h"
#include "PlatformSim.h"

namespace xmldoc {

namespace {

// TinyXML steps over a UTF-8 sequence by the length its lead byte announces,
// also when the text ends inside it, and then reads on behind the
// terminator. Zero bytes behind the text stop it there (a sequence is at
// most four bytes long).
const size_t kParsePadding = 8;

// TinyXML's own file loading turns CR LF and lone CR into LF.
std::string withLineFeeds(const std::string& p_strText)
{
    std::string strOut;
    strOut.reserve(p_strText.size());
    for (size_t i = 0; i < p_strText.size(); ++i) {
        if (p_strText[i] != '\r') {
            strOut += p_strText[i];
            continue;
        }
        strOut += '\n';
        if (i + 1 < p_strText.size() && p_strText[i + 1] == '\n') ++i;
    }
    return strOut;
}

// The whole file (absolute path on flash); false when it cannot be opened.
bool readText(const char* p_szPath, std::string& p_strText)
{
    PKFile objFile;
    if (!objFile.open(p_szPath, PKFile::modeRead)) return false;
    char szBuf[4096];
    int nRead = 0;
    while ((nRead = objFile.read(szBuf, sizeof(szBuf))) > 0) p_strText.append(szBuf, static_cast<size_t>(nRead));
    return true;
}

// Nothing reads the row and column of a node; tracking them costs about a
// fifth of every parse.
void prepare(TiXmlDocument& p_objDoc)
{
    p_objDoc.Clear();
    p_objDoc.ClearError();
    p_objDoc.SetTabSize(0);
}

}  // namespace

bool loadMem(TiXmlDocument& p_objDoc, const char* p_szText)
{
    prepare(p_objDoc);
    if (p_szText == nullptr) return false;
    std::string strPadded(p_szText);
    strPadded.append(kParsePadding, '\0');
    p_objDoc.Parse(strPadded.c_str(), 0, TIXML_ENCODING_UTF8);
    if (!p_objDoc.Error() && p_objDoc.RootElement() != nullptr) return true;
    // A failed parse keeps what was read before the error; callers get an
    // empty document instead, so a broken text never yields half a style.
    // A text without any element counts as broken too.
    p_objDoc.Clear();
    return false;
}

bool loadFile(TiXmlDocument& p_objDoc, const char* p_szPath)
{
    prepare(p_objDoc);
    if (p_szPath == nullptr) return false;
    // Read here rather than by TinyXML, whose buffer ends right after the text.
    std::string strText;
    if (!readText(p_szPath, strText)) return false;
    return loadMem(p_objDoc, withLineFeeds(strText).c_str());
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
