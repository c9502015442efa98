// File access of the base library. Absolute paths resolve below the
// simulated flash root (PlatformSim.h).
//
// A truncating write (modeWrite | modeTruncate, without modeAppend) replaces
// the file atomically: the data goes to a temporary file in the same folder,
// which close() (or the destructor) syncs and renames over the target, so a
// power cut leaves the old file or the new one. A write that failed or came
// short leaves the target untouched.
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
    // For a replacing write: sync, then rename over the target. False when
    // the content did not reach the file whole.
    bool close();
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
    bool openForReading(const std::string& p_strReal);
    bool openReplacement(const std::string& p_strReal, const char* p_szStdio);
    bool commitReplacement();

    FILE* m_pFile;
    // Set while a replacing write is open: the real target and temporary paths.
    std::string m_strTarget;
    std::string m_strTemp;
    bool m_bWriteFailed;
    bool m_bWritable;
};

#endif
