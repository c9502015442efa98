// Process-wide registry of reference counts for the safe pointer.
#ifndef REF_COUNT_MANAGER_H
#define REF_COUNT_MANAGER_H

#include "PkBase.h"

// One registry entry: the count of one object. Entries are never freed, so
// unLock() stays valid right after returnbackRefCount().
class PK_API ref_count {
public:
    ref_count();
    ~ref_count();
    ref_count(const ref_count&) = delete;
    ref_count& operator=(const ref_count&) = delete;
    int lock();            // 0 = locked
    void unLock();
    const void* getPointer() const;
    int inc_reference();   // non-zero = done, 0 = the object is already gone
    int dec_reference();   // the new count, 0 when the last reference is gone

private:
    friend class RefCountManager;
    const void* m_pObj;
    int m_nCount;
    void* m_pMutex;  // pthread_mutex_t*, kept opaque
};

class PK_API RefCountManager {
public:
    static RefCountManager& getInstance();
    // The entry of an object; a new object starts with count 1.
    ref_count* retrieveRefCount(const void* p_pObj, const char* p_szTypeName);
    void returnbackRefCount(ref_count* p_pEntry, const char* p_szTypeName);
    // Entries in use (for leak checks).
    int activeCount() const;

private:
    RefCountManager();
};

#endif
