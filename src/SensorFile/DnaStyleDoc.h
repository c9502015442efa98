// The dynamic style as a document, for the factory defaults, which read it
// without printing and parsing it again.
#ifndef DNA_STYLE_DOC_H
#define DNA_STYLE_DOC_H

#include <tinyxml.h>

// getDnaStyle without the final printing: p_objDoc receives the dynamic
// style (empty when the style text does not parse). Same reports, result 0.
int getDnaStyle(int p_channelID, const char* szStyle, TiXmlDocument& p_objDoc, bool p_bShowWDRFalg);

#endif
