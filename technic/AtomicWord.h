// Atomic access to plain words shared between threads. The words keep their
// declared types (int, bool, u32) as the exported interface states them.
#ifndef ATOMIC_WORD_H
#define ATOMIC_WORD_H

template <class T>
inline T atomicGet(const T& p_word)
{
    return __atomic_load_n(&p_word, __ATOMIC_SEQ_CST);
}

template <class T, class V>
inline void atomicSet(T& p_word, V p_value)
{
    __atomic_store_n(&p_word, static_cast<T>(p_value), __ATOMIC_SEQ_CST);
}

template <class T, class V>
inline void atomicOr(T& p_word, V p_bits)
{
    __atomic_fetch_or(&p_word, static_cast<T>(p_bits), __ATOMIC_SEQ_CST);
}

template <class T, class V>
inline void atomicAndNot(T& p_word, V p_bits)
{
    __atomic_fetch_and(&p_word, static_cast<T>(~static_cast<T>(p_bits)), __ATOMIC_SEQ_CST);
}

// True when any of p_bits is set.
template <class T, class V>
inline bool atomicAny(const T& p_word, V p_bits)
{
    return (atomicGet(p_word) & static_cast<T>(p_bits)) != 0;
}

// Stores p_value and returns the previous value in one step (test-and-clear).
template <class T, class V>
inline T atomicExchange(T& p_word, V p_value)
{
    return __atomic_exchange_n(&p_word, static_cast<T>(p_value), __ATOMIC_SEQ_CST);
}

// Whole small objects of the platform (a lens setting) copied in one step.
template <class T>
inline T atomicLoadObject(const T& p_obj)
{
    static_assert(sizeof(T) <= sizeof(long long), "copied in one step");
    T objCopy;
    __atomic_load(&p_obj, &objCopy, __ATOMIC_SEQ_CST);
    return objCopy;
}

template <class T>
inline void atomicStoreObject(T& p_obj, const T& p_objValue)
{
    static_assert(sizeof(T) <= sizeof(long long), "copied in one step");
    T objCopy = p_objValue;
    __atomic_store(&p_obj, &objCopy, __ATOMIC_SEQ_CST);
}

#endif
