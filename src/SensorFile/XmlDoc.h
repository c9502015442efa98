// The few places where the style code meets the distribution's TinyXML:
// loading from memory, printing to a string, and file access below the
// flash root.
#ifndef XML_DOC_H
#define XML_DOC_H

#include <tinyxml.h>

#include <string>

namespace xmldoc {

// Parses a UTF-8 text into the document. On failure (null, empty or
// malformed text, or no element at all) the document is left empty and
// false is returned.
bool loadMem(TiXmlDocument& p_objDoc, const char* p_szText);

// The bytes of a file (absolute path on flash); false when it cannot be read.
bool readFile(const char* p_szPath, std::string& p_strBytes);
// Parses a file's bytes as TinyXML's own file loading would (line ends
// become LF); empty document and false on failure.
bool loadFileBytes(TiXmlDocument& p_objDoc, const std::string& p_strBytes);
// Loads a UTF-8 file (absolute path on flash); empty document and false on failure.
bool loadFile(TiXmlDocument& p_objDoc, const char* p_szPath);

// The document printed as text (TinyXML's printer).
std::string toString(const TiXmlDocument& p_objDoc);
// The document as TinyXML's SaveFile prints it (a parse of a text that
// began with a byte order mark prints one too).
std::string toFileText(const TiXmlDocument& p_objDoc, bool p_bByteOrderMark);
// Replaces a file (absolute path on flash) by the text: a temporary file
// renamed over it, so a link planted at the path is replaced, never followed.
bool writeFile(const char* p_szPath, const std::string& p_strText);

}  // namespace xmldoc

#endif
