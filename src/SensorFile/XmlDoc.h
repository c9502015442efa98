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

// Loads a UTF-8 file (absolute path on flash); empty document and false on failure.
bool loadFile(TiXmlDocument& p_objDoc, const char* p_szPath);

// Saves the document to a file (absolute path on flash), creating its folder.
bool saveFile(const TiXmlDocument& p_objDoc, const char* p_szPath);

// The document printed as text.
std::string toString(const TiXmlDocument& p_objDoc);

}  // namespace xmldoc

#endif
