// Shared test helpers: a private flash root per test, a recording video
// module and the sample camera.
#ifndef TEST_SUPPORT_H
#define TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "FlashLayout.h"
#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"

namespace testsupport {

void removeTree(const std::string& p_strDir);
// Writes a file below the flash root (p_strPath is absolute, e.g. SNS_PATH_DEBUG_SIGN).
void writeFlashFile(const std::string& p_strPath, const std::string& p_strContent);
std::string readFlashFile(const std::string& p_strPath);
bool flashFileExists(const std::string& p_strPath);
// Replaces the first p_strFrom in a file below the flash root (a failure when it has none).
void replaceInFlashFile(const std::string& p_strPath, const std::string& p_strFrom, const std::string& p_strTo);
// Copies the sample camera's flash tree (sample/flash) below the flash root.
void copySampleFlash();

// A small tmpfs mounted on a folder below the flash root (created), for a
// real full flash; unmounted on destruction. Where this process may not
// mount, mounted() is false and reason() says why (the test skips).
class SmallTmpfs {
public:
    SmallTmpfs(const std::string& p_strFlashDir, size_t p_nBytes);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;
    bool mounted() const { return m_bMounted; }
    const std::string& reason() const { return m_strReason; }
    // Writes a filler file until the medium takes no more.
    void fillUp() const;

private:
    std::string m_strDir;
    bool m_bMounted;
    std::string m_strReason;
};

// Sets a fresh flash root, a real-time-free sleep scale, the default IA
// profile and debug level; undoes it afterwards.
class FlashTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string m_strRoot;
};

// Video module that records every notification and answers as told.
class RecordingVideo : public VideoStreamModule {
public:
    struct Note {
        int channel;
        int key;
        int value;
    };
    int notifySensorParam(int channel, int key, int value) const override
    {
        m_vecNotes.push_back(Note{channel, key, value});
        return m_nResult;
    }
    bool isBusy() const override { return ++m_nBusyCalls, m_nBusyAnswers < 0 || m_nBusyCalls <= m_nBusyAnswers; }
    void getStreamList(std::vector<AVStreamParam>& streams) const override { streams = m_vecStreams; }
    void getLimitedFramesWDRModeParam(int, LimitedFramesWDRModeParam& param) const override { param = m_objWdr; }

    std::vector<Note> notes() const { return m_vecNotes; }
    void clear() { m_vecNotes.clear(); }

    int m_nResult = 0;              // answer of every notification
    int m_nBusyAnswers = 0;         // isBusy answers true this many times (-1: always)
    std::vector<AVStreamParam> m_vecStreams;
    LimitedFramesWDRModeParam m_objWdr;
    mutable int m_nBusyCalls = 0;

private:
    mutable std::vector<Note> m_vecNotes;
};

// Module configuration with the given detail text (id 1).
ModuleConfigure moduleWithDetail(const std::string& p_strDetail);

// The records of a parameter file below the flash root; writing them; the
// value of a key's first record (-1: none); giving every record of a key
// another value (a failure when the file has none).
std::vector<KeyVal> records(const std::string& p_strPath);
void writeRecords(const std::string& p_strPath, const std::vector<KeyVal>& p_vecRecords);
long long valueOf(const std::vector<KeyVal>& p_vecRecords, u32 p_nKey);
void setRecord(const std::string& p_strPath, u32 p_nKey, u32 p_nValue);
// "key=value " for each of the first p_nCount records.
std::string recordsText(const KeyVal* p_pRecords, u32 p_nCount);

// Whether the checker's output has a line "STATUS  CHECK ..." holding the
// message literally (the check is a pattern).
bool hasCheckLine(const std::string& p_strOut, const std::string& p_strStatus, const std::string& p_strCheck,
                  const std::string& p_strMessage = "");

}  // namespace testsupport

#endif
