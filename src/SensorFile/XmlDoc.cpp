#include "XmlDoc.h"

#include <stdio.h>
#include <stdlib.h>

#include "PKFile.h"

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
    size_t nCr = p_strText.find('\r');
    if (nCr == std::string::npos) return p_strText;
    std::string strOut;
    strOut.reserve(p_strText.size());
    size_t nFrom = 0;
    for (; nCr != std::string::npos; nCr = p_strText.find('\r', nFrom)) {
        strOut.append(p_strText, nFrom, nCr - nFrom);
        strOut += '\n';
        nFrom = nCr + 1;
        if (nFrom < p_strText.size() && p_strText[nFrom] == '\n') ++nFrom;
    }
    strOut.append(p_strText, nFrom, std::string::npos);
    return strOut;
}

// True when TiXmlPrinter prints the node's content as SaveFile does: they
// differ only for text beside other nodes and for CDATA.
bool printsAsSaveFile(const TiXmlNode* p_pNode)
{
    for (const TiXmlNode* pChild = p_pNode->FirstChild(); pChild != nullptr; pChild = pChild->NextSibling()) {
        const TiXmlText* pText = pChild->ToText();
        if (pText == nullptr) {
            if (!printsAsSaveFile(pChild)) return false;
            continue;
        }
        const bool bOnlyChild = p_pNode->ToElement() != nullptr && pChild == p_pNode->FirstChild() &&
                                pChild == p_pNode->LastChild();
        if (pText->CDATA() || !bOnlyChild) return false;
    }
    return true;
}

// SaveFile's own printing, into memory.
std::string savedText(const TiXmlDocument& p_objDoc)
{
    char* pBuf = nullptr;
    size_t nSize = 0;
    FILE* pStream = open_memstream(&pBuf, &nSize);
    if (pStream == nullptr) return std::string();
    p_objDoc.SaveFile(pStream);
    fclose(pStream);
    std::string strText(pBuf, nSize);
    free(pBuf);
    return strText;
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

bool readFile(const char* p_szPath, std::string& p_strBytes)
{
    p_strBytes.clear();
    PKFile objFile;
    if (p_szPath == nullptr || !objFile.open(p_szPath, PKFile::modeRead)) return false;
    // One read of the length the file has; a file that grows meanwhile
    // takes further rounds.
    const int64_t nLength = objFile.getLength();
    size_t nChunk = nLength > 0 ? static_cast<size_t>(nLength) + 1 : 4096;
    for (;;) {
        const size_t nOld = p_strBytes.size();
        p_strBytes.resize(nOld + nChunk);
        const int nRead = objFile.read(&p_strBytes[nOld], static_cast<unsigned int>(nChunk));
        p_strBytes.resize(nOld + (nRead > 0 ? static_cast<size_t>(nRead) : 0));
        if (nRead < 0) return false;
        if (static_cast<size_t>(nRead) < nChunk) return true;
        nChunk = 64 * 1024;
    }
}

bool loadFileBytes(TiXmlDocument& p_objDoc, const std::string& p_strBytes)
{
    // Parsed from our own buffer rather than by TinyXML's file loading,
    // whose buffer ends right after the text.
    return loadMem(p_objDoc, withLineFeeds(p_strBytes).c_str());
}

bool loadFile(TiXmlDocument& p_objDoc, const char* p_szPath)
{
    prepare(p_objDoc);
    std::string strBytes;
    if (!readFile(p_szPath, strBytes)) return false;
    return loadFileBytes(p_objDoc, strBytes);
}

std::string toFileText(const TiXmlDocument& p_objDoc, bool p_bByteOrderMark)
{
    if (p_bByteOrderMark || !printsAsSaveFile(&p_objDoc)) return savedText(p_objDoc);
    return toString(p_objDoc);
}

bool writeFile(const char* p_szPath, const std::string& p_strText)
{
    PKFile objFile;
    if (p_szPath == nullptr || !objFile.open(p_szPath, PKFile::modeWrite | PKFile::modeTruncate)) return false;
    const int nWritten = objFile.write(const_cast<char*>(p_strText.data()), p_strText.size());
    return nWritten == static_cast<int>(p_strText.size()) && objFile.close();
}

std::string toString(const TiXmlDocument& p_objDoc)
{
    TiXmlPrinter objPrinter;
    p_objDoc.Accept(&objPrinter);
    return std::string(objPrinter.CStr(), objPrinter.Size());
}

}  // namespace xmldoc
