// File access of the base library. Absolute paths resolve below the
// simulated flash root (PlatformSim.h).
#ifndef PK_FILE_H
#define PK_FILE_H

#include <stdint.h>
#include <stdio.h>

#include <list>
#include <string>

#include "PkBase.h"

class PK_API PKFile {
public:
    enum {
        modeRead = 1,
        modeWrite = 2,
        modeAppend = 4,
        modeTruncate = 64,
    };

    PKFile();
    ~PKFile();  // closes an open file
    PKFile(const PKFile&) = delete;
    PKFile& operator=(const PKFile&) = delete;

    bool open(const char* p_szPath, int p_nMode = modeRead);
    void close();
    bool isOpen() const;
    FILE* getFileHandle() const;

    // Bytes moved, or -1 when the file is not open or the transfer failed.
    int read(char* p_pData, unsigned int p_nLen);
    int write(char* p_pData, unsigned int p_nLen);
    // Length of the open file; 0 when not open.
    int64_t getLength();

    // All lines of the open file, without line ends.
    std::list<std::string> ReadLines();
    // The next line without its line end; "" at end of file or on a null stream.
    static std::string ReadOneLine(FILE* p_pStream);

    // Existence test of a path (one access() call).
    static bool isExist(const char* p_szPath);
    static bool remove(const char* p_szPath);
    static bool mkdirs(const char* p_szDir);

private:
    FILE* m_pFile;
};

#endif
