// File access of the base library. Absolute paths resolve below the
// simulated flash root (PlatformSim.h).
//
// A truncating write (modeWrite | modeTruncate, without modeAppend) replaces
// the file atomically: the data goes to a temporary file in the same folder,
// which close() (or the destructor) syncs and renames over the target, so a
// power cut leaves the old file or the new one. A write that failed or came
// short, or whose flush, sync or rename failed, leaves the target untouched
// and is reported by write() or close().
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
    // the file could not be closed or the new content did not replace the
    // target (a failed flush, sync or rename: the old file stays).
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
    // Removes what replacing writes of p_szPath left behind when the process
    // died before their rename (the temporary files beside it); returns how
    // many. Only for a time when no replacing write of the path is open.
    static int removeStaleReplacements(const char* p_szPath);
    static bool mkdirs(const char* p_szDir);

private:
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
