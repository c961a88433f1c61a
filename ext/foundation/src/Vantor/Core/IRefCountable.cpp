#include "Vantor/Core/Interfaces/IRefCountable.h"

namespace Vantor {

IRefCountable::~IRefCountable() = default;

long RefCountImpl::AddRefImpl() const noexcept
{
    return m_count.fetch_add(1, std::memory_order_relaxed) + 1;
}

long RefCountImpl::ReleaseImpl() const noexcept
{
    // acq_rel: the thread that drops the count to 0 must see every other thread's writes
    // before it deletes the object.
    return m_count.fetch_sub(1, std::memory_order_acq_rel) - 1;
}

long RefCountImpl::GetRefCountImpl() const noexcept
{
    return m_count.load(std::memory_order_acquire);
}

} // namespace Vantor
