// Type-erased callables returning R, shared by reference counting; the
// platform thread class GThread takes its work as function<int>.
#ifndef PK_FUNCTION_H
#define PK_FUNCTION_H

#include "SafePointer.h"

template <class R>
class function_obj_base {
public:
    virtual ~function_obj_base() {}
    virtual R operator()() = 0;
};

template <class R, class F>
class function_obj;

// A plain function pointer.
template <class R>
class function_obj<R, R (*)()> : public function_obj_base<R> {
public:
    explicit function_obj(R (*p_pfn)()) : m_pfn(p_pfn) {}
    virtual R operator()() { return m_pfn(); }

private:
    R (*m_pfn)();
};

// A member function without arguments, bound to its object.
template <class R, class C>
struct bind_funcobj0 {
    R (C::*m_pfn)();
    C* m_pObj;
    R operator()() const { return (m_pObj->*m_pfn)(); }
};

template <class R, class C>
bind_funcobj0<R, C> bind_funcobj(R (C::*p_pfn)(), C* p_pObj)
{
    bind_funcobj0<R, C> objBind = {p_pfn, p_pObj};
    return objBind;
}

template <class R, class C>
class function_obj<R, bind_funcobj0<R, C>> : public function_obj_base<R> {
public:
    explicit function_obj(const bind_funcobj0<R, C>& p_objBind) : m_objBind(p_objBind) {}
    virtual R operator()() { return m_objBind(); }

private:
    bind_funcobj0<R, C> m_objBind;
};

template <class R>
class function {
public:
    explicit function(R (*p_pfn)()) : m_spObj(new function_obj<R, R (*)()>(p_pfn)) {}
    template <class C>
    explicit function(const bind_funcobj0<R, C>& p_objBind)
        : m_spObj(new function_obj<R, bind_funcobj0<R, C>>(p_objBind))
    {
    }
    virtual ~function() {}

    R operator()() const { return (*m_spObj)(); }

private:
    SafePointer<function_obj_base<R>> m_spObj;
};

#endif
