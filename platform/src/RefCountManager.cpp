// Process-wide registry of the safe pointer's reference counts. Entries are
// pooled and never freed: the safe pointer unlocks an entry right after it
// gave it back.
#include "RefCountManager.h"

#include <pthread.h>

#include <unordered_map>
#include <vector>

#include "../../technic/AtomicWord.h"

namespace {

// Never destroyed: safe pointers in static objects may still count while the
// process exits.
struct Registry {
    pthread_mutex_t m_mutex = PTHREAD_MUTEX_INITIALIZER;
    std::unordered_map<const void*, ref_count*> m_mapActive;
    std::vector<ref_count*> m_vecPool;
    int m_nActive = 0;
};

Registry& registry()
{
    static Registry* s_pRegistry = new Registry;
    return *s_pRegistry;
}

class RegistryLock {
public:
    RegistryLock() { pthread_mutex_lock(&registry().m_mutex); }
    ~RegistryLock() { pthread_mutex_unlock(&registry().m_mutex); }
    RegistryLock(const RegistryLock&) = delete;
    RegistryLock& operator=(const RegistryLock&) = delete;
};

pthread_mutex_t* entryMutex(void* p_pMutex) { return static_cast<pthread_mutex_t*>(p_pMutex); }

// Moves a count that has not reached 0 yet by p_nDelta; false once it has.
bool addIfAlive(int& p_nCount, int p_nDelta, int& p_nNew)
{
    int nOld = atomicGet(p_nCount);
    while (nOld > 0) {
        if (__atomic_compare_exchange_n(&p_nCount, &nOld, nOld + p_nDelta, false, __ATOMIC_SEQ_CST,
                                        __ATOMIC_SEQ_CST)) {
            p_nNew = nOld + p_nDelta;
            return true;
        }
    }
    return false;
}

}  // namespace

ref_count::ref_count() : m_pObj(nullptr), m_nCount(0), m_pMutex(new pthread_mutex_t)
{
    pthread_mutex_init(entryMutex(m_pMutex), nullptr);
}

ref_count::~ref_count()
{
    pthread_mutex_destroy(entryMutex(m_pMutex));
    delete entryMutex(m_pMutex);
}

int ref_count::lock() { return pthread_mutex_lock(entryMutex(m_pMutex)); }

void ref_count::unLock() { pthread_mutex_unlock(entryMutex(m_pMutex)); }

// The fields are also touched by the registry under its own lock, so every
// access is atomic.
const void* ref_count::getPointer() const { return atomicGet(m_pObj); }

int ref_count::inc_reference()
{
    int nNew = 0;
    return addIfAlive(m_nCount, 1, nNew) ? nNew : 0;
}

int ref_count::dec_reference()
{
    int nNew = 0;
    // Already gone: -1 rather than 0, so the caller never deletes twice.
    return addIfAlive(m_nCount, -1, nNew) ? nNew : -1;
}

RefCountManager::RefCountManager() {}

RefCountManager& RefCountManager::getInstance()
{
    static RefCountManager s_objInstance;
    return s_objInstance;
}

ref_count* RefCountManager::retrieveRefCount(const void* p_pObj, const char*)
{
    if (p_pObj == nullptr) return nullptr;
    Registry& objReg = registry();
    RegistryLock objLock;
    // Each retrieval stands for one more holder of a known object. An entry
    // whose count already reached 0 belongs to a deleted object whose
    // address is being reused: the new object gets an entry of its own.
    auto it = objReg.m_mapActive.find(p_pObj);
    int nNew = 0;
    if (it != objReg.m_mapActive.end() && addIfAlive(it->second->m_nCount, 1, nNew)) return it->second;

    ref_count* pEntry = nullptr;
    if (objReg.m_vecPool.empty()) {
        pEntry = new ref_count;
    } else {
        pEntry = objReg.m_vecPool.back();
        objReg.m_vecPool.pop_back();
    }
    atomicSet(pEntry->m_nCount, 1);
    atomicSet(pEntry->m_pObj, p_pObj);
    objReg.m_mapActive[p_pObj] = pEntry;
    ++objReg.m_nActive;
    return pEntry;
}

void RefCountManager::returnbackRefCount(ref_count* p_pEntry, const char*)
{
    if (p_pEntry == nullptr) return;
    Registry& objReg = registry();
    RegistryLock objLock;
    const void* pObj = atomicGet(p_pEntry->m_pObj);
    if (pObj == nullptr) return;  // given back twice
    auto it = objReg.m_mapActive.find(pObj);
    if (it != objReg.m_mapActive.end() && it->second == p_pEntry) objReg.m_mapActive.erase(it);
    atomicSet(p_pEntry->m_pObj, nullptr);
    atomicSet(p_pEntry->m_nCount, 0);
    objReg.m_vecPool.push_back(p_pEntry);
    --objReg.m_nActive;
}

int RefCountManager::activeCount() const
{
    RegistryLock objLock;
    return registry().m_nActive;
}
