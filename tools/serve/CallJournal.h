// The simulated image-algorithm library's calls and the video notifications
// of every channel in one numbered journal, so that a client can ask for
// what happened since the last entry it saw.
#ifndef SERVE_CALL_JOURNAL_H
#define SERVE_CALL_JOURNAL_H

#include <stdint.h>

#include <deque>
#include <mutex>
#include <vector>

struct JournalEntry {
    long long m_nId;
    int m_nChannel;  // 1-based
    bool m_bNotify;  // a video notification (m_nCode is the key), else an IA call (the command)
    int m_nCode;
    int m_nOption;   // IA option; -1 for notifications
    int64_t m_nValue;
};

class CallJournal {
public:
    // Moves the calls the simulator logged so far into the journal.
    void drain();
    // A notification, after the calls that came before it.
    void addNotify(int p_nChannel, int p_nKey, int p_nValue);
    // The channel's entries with an id of at least p_nSince; p_nNext gets
    // the id the next entry will have.
    std::vector<JournalEntry> since(int p_nChannel, long long p_nSince, long long& p_nNext);

private:
    void drainLocked();
    void append(const JournalEntry& p_stEntry);

    std::mutex m_objMutex;
    std::deque<JournalEntry> m_deqEntries;
    long long m_nNextId = 1;
};

#endif
