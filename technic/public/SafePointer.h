// Reference-counting smart pointer whose counts live in the base library's
// process-wide registry (RefCountManager). Any inconsistency of the registry
// is unrecoverable: it is reported and thrown as PKRuntimeError.
#ifndef SAFE_POINTER_H
#define SAFE_POINTER_H

#include <stdio.h>

#include <string>
#include <typeinfo>

#include "PKRuntimeError.h"
#include "RefCountManager.h"

class BaseSafePointer {};

template <class T>
class SafePointer : public BaseSafePointer {
public:
    explicit SafePointer(T* p_pObj) : m_pObj(p_pObj), m_pRef(nullptr)
    {
        if (m_pObj == nullptr) report("Construct from NULL original pointer");
        m_pRef = RefCountManager::getInstance().retrieveRefCount(m_pObj, typeName());
    }

    SafePointer(const SafePointer& p_other) : m_pObj(p_other.m_pObj), m_pRef(p_other.m_pRef)
    {
        if (m_pObj == nullptr) report("Construct from NULL <T>pointer");
        inc_reference();
    }

    SafePointer& operator=(const SafePointer& p_other)
    {
        if (this != &p_other) {
            SafePointer objCopy(p_other);
            swap(objCopy);
        }
        return *this;
    }

    // A destructor is noexcept: a registry failure here ends the process.
    virtual ~SafePointer() { dec_reference(); }

    T* get() const { return m_pObj; }
    T* operator->() const { return m_pObj; }
    T& operator*() const { return *m_pObj; }

private:
    static const char* typeName() { return typeid(T).name(); }

    [[noreturn]] static void report(const char* p_szMsg)
    {
        std::string strText = std::string("SafePointer Report:") + typeName() + " " + p_szMsg;
        printf("%s\n", strText.c_str());
        const char* szText = strText.c_str();
        throw PKRuntimeError(szText);
    }

    void swap(SafePointer& p_other)
    {
        T* pObj = m_pObj;
        ref_count* pRef = m_pRef;
        m_pObj = p_other.m_pObj;
        m_pRef = p_other.m_pRef;
        p_other.m_pObj = pObj;
        p_other.m_pRef = pRef;
    }

    void inc_reference()
    {
        if (m_pRef == nullptr) report("Already destructed 1");
        if (m_pRef->lock() != 0) report("Already destructed 2");
        if (m_pRef->getPointer() != static_cast<const void*>(m_pObj)) {
            m_pRef->unLock();
            const char* szMsg = "not valid pointer in inc_reference ";
            throw PKRuntimeError(szMsg);
        }
        const int nDone = m_pRef->inc_reference();
        m_pRef->unLock();
        if (nDone == 0) report("Already destructed 3");
    }

    void dec_reference()
    {
        if (m_pObj == nullptr) return;
        m_pRef->lock();
        if (m_pRef->getPointer() != static_cast<const void*>(m_pObj)) {
            m_pRef->unLock();
            const char* szMsg = "not valid pointer in dec_reference";
            throw PKRuntimeError(szMsg);
        }
        if (m_pRef->dec_reference() == 0) {
            delete m_pObj;
            m_pObj = nullptr;
            RefCountManager::getInstance().returnbackRefCount(m_pRef, "17function_obj_baseIiE");
        }
        // The registry allows unLock right after the entry was given back.
        m_pRef->unLock();
    }

    T* m_pObj;
    ref_count* m_pRef;
};

#endif
