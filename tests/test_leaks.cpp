// Months of operation in a few seconds: init/uinit cycles and factory resets
// on the sample camera leave the heap, the open files and the threads as
// they were. SNS_LEAK_CYCLES sets the cycle count (CI: 1000); there is one
// factory reset per ten cycles. Under the ASan build LeakSanitizer checks
// the same run at exit.
#include <dirent.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "IaSim.h"
#include "PlatformSim.h"
#include "TestSupport.h"

namespace {

const char kSampleDetail[] = "(max_scheme=4)(lensId=3)(isInfrared=1)(lightZones=3)(sensor=SIM2M)";
// Room for allocator bookkeeping; a leak of 16 bytes per cycle exceeds it
// after 1000 cycles.
const size_t kHeapSlack = 16 * 1024;

// Entries of a /proc folder ("." and ".." left out).
int countEntries(const char* p_szDir)
{
    DIR* pDir = opendir(p_szDir);
    if (pDir == nullptr) return -1;
    int nCount = 0;
    while (const dirent* pEntry = readdir(pDir))
        if (pEntry->d_name[0] != '.') ++nCount;
    closedir(pDir);
    return nCount;
}

// The fewest threads of the process seen while polling every 10 ms, up to
// p_nPolls times or until there are at most p_nAtMost: a stopped thread may
// still be leaving the process for a moment after the join (under an
// emulator for much longer).
int fewestThreads(int p_nAtMost, int p_nPolls)
{
    int nFewest = countEntries("/proc/self/task");
    for (int i = 0; i < p_nPolls && nFewest > p_nAtMost; ++i) {
        usleep(10 * 1000);
        nFewest = std::min(nFewest, countEntries("/proc/self/task"));
    }
    return nFewest;
}

size_t heapInUse()
{
    const struct mallinfo2 stInfo = mallinfo2();
    return stInfo.uordblks + stInfo.hblkhd;
}

class LeakTest : public testsupport::FlashTest {};

TEST_F(LeakTest, InitUinitCyclesAndFactoryResetsKeepHeapFilesAndThreads)
{
    const char* szCycles = getenv("SNS_LEAK_CYCLES");
    const int nCycles = szCycles != nullptr && atoi(szCycles) > 0 ? atoi(szCycles) : 100;
    testsupport::copySampleFlash();
    testsupport::RecordingVideo objVideo;
    ISensorController objCtrl;
    objCtrl.setChannelID(1);
    objCtrl.setVideoStreamModule(&objVideo);
    // One day of the camera: up, a change saved, down; every tenth day a
    // factory reset as well.
    const auto cycle = [&](int p_nDay) {
        ASSERT_TRUE(objCtrl.init(testsupport::moduleWithDetail(kSampleDetail)));
        objCtrl.setParameter(KEY_BRIGHTNESS, p_nDay % 100, true);
        std::string strText;
        objCtrl.getAllParameters(strText);
        if (p_nDay % 10 == 0) {
            ASSERT_TRUE(objCtrl.resetParameters());
        } else {
            objCtrl.flush();
        }
        objCtrl.uinit();
        // The simulators' logs (calls, shell commands) and the video
        // module's notes are the test's own records, not the library's.
        iasim::clearCalls();
        platformsim::clearShellCommands();
        objVideo.clear();
    };
    testing::internal::CaptureStdout();  // the pipeline prints a line end per change
    for (int nDay = 1; nDay <= 10; ++nDay) cycle(nDay);  // first-use allocations settle, a reset included
    const size_t nHeap = heapInUse();
    const int nFiles = countEntries("/proc/self/fd");
    const int nThreads = fewestThreads(0, 20);  // the ones still leaving are no part of it
    for (int nDay = 1; nDay <= nCycles && !HasFatalFailure(); ++nDay) cycle(nDay);
    const size_t nHeapAfter = heapInUse();
    const int nFilesAfter = countEntries("/proc/self/fd");  // the capture's file still open, as before
    const int nThreadsAfter = fewestThreads(nThreads, 1000);  // up to ten seconds
    testing::internal::GetCapturedStdout();

    EXPECT_LE(nHeapAfter, nHeap + kHeapSlack) << "heap grew over " << nCycles << " cycles";
    EXPECT_EQ(nFiles, nFilesAfter);
    EXPECT_LE(nThreadsAfter, nThreads);
    EXPECT_EQ(std::string::npos, testsupport::readFlashFile(SNS_PATH_ERROR_LOG).find("[sensor assert]"));
}

}  // namespace
