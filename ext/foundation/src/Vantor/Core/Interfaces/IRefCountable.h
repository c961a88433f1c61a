// Intrusive reference counting: every object handed across a library boundary is an
// IRefCountable held through SP<T>.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"

#include <boost/intrusive_ptr.hpp>

#include <atomic>

namespace Vantor {

class VANTOR_API IRefCountable
{
public:
    virtual ~IRefCountable();

    virtual long AddRef() const = 0;
    virtual long GetRefCount() const = 0;
    // Returns the count left; the object deletes itself when it reaches 0.
    virtual long Release() const = 0;
};

// The count behind AddRef/GetRefCount/Release; atomic, so references may move between threads.
class VANTOR_API RefCountImpl
{
public:
    RefCountImpl() noexcept = default;
    RefCountImpl(const RefCountImpl&) = delete;
    RefCountImpl& operator=(const RefCountImpl&) = delete;

    long AddRefImpl() const noexcept;
    long ReleaseImpl() const noexcept;
    long GetRefCountImpl() const noexcept;

private:
    mutable std::atomic<long> m_count{0};
};

inline void intrusive_ptr_add_ref(const IRefCountable* object)
{
    object->AddRef();
}

inline void intrusive_ptr_release(const IRefCountable* object)
{
    object->Release();
}

template <class T> using SP = boost::intrusive_ptr<T>;

// The common counting scheme for a host object implementing Interface: the count lives in the
// object, and the last Release deletes it.
template <class Interface> class RefCounted : public Interface
{
public:
    using Interface::Interface;

    long AddRef() const override { return m_refCount.AddRefImpl(); }
    long GetRefCount() const override { return m_refCount.GetRefCountImpl(); }
    long Release() const override
    {
        const long left = m_refCount.ReleaseImpl();
        if (left == 0)
            delete this;
        return left;
    }

private:
    RefCountImpl m_refCount;
};

} // namespace Vantor
