#include "CallJournal.h"

#include "IaSim.h"

namespace {

// The oldest entries go first; a client that falls this far behind sees a gap in the ids.
const size_t kMaxEntries = 20000;

}  // namespace

void CallJournal::append(const JournalEntry& p_stEntry)
{
    m_deqEntries.push_back(p_stEntry);
    m_deqEntries.back().m_nId = m_nNextId++;
    if (m_deqEntries.size() > kMaxEntries) m_deqEntries.pop_front();
}

void CallJournal::drain()
{
    std::lock_guard<std::mutex> objLock(m_objMutex);
    drainLocked();
}

void CallJournal::drainLocked()
{
    for (const iasim::IaCall& stCall : iasim::takeCalls())
        append(JournalEntry{0, stCall.channel + 1, false, stCall.cmd, stCall.opt,
                            static_cast<int32_t>(stCall.value)});
}

void CallJournal::addNotify(int p_nChannel, int p_nKey, int p_nValue)
{
    std::lock_guard<std::mutex> objLock(m_objMutex);
    drainLocked();
    append(JournalEntry{0, p_nChannel, true, p_nKey, -1, p_nValue});
}

std::vector<JournalEntry> CallJournal::since(int p_nChannel, long long p_nSince, long long& p_nNext)
{
    std::lock_guard<std::mutex> objLock(m_objMutex);
    drainLocked();
    std::vector<JournalEntry> vecOut;
    for (const JournalEntry& stEntry : m_deqEntries)
        if (stEntry.m_nChannel == p_nChannel && stEntry.m_nId >= p_nSince) vecOut.push_back(stEntry);
    p_nNext = m_nNextId;
    return vecOut;
}
