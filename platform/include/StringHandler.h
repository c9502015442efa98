#ifndef STRING_HANDLER_H
#define STRING_HANDLER_H

#include <string>
#include <vector>

#include "PkBase.h"

class PK_API StringHandler {
public:
    // Appends the pieces of the text between separators, in order; empty
    // pieces are kept, an empty text gives no piece.
    static void split(const std::string& p_strText, std::vector<std::string>& p_vecOut,
                      const std::string& p_strSep);
};

#endif
