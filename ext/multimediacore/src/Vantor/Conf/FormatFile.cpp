#include "Vantor/Conf/FormatFile.h"

namespace Vantor {
namespace Conf {

long FormatFile::AddRef() const
{
    return m_refCount.AddRefImpl();
}

long FormatFile::GetRefCount() const
{
    return m_refCount.GetRefCountImpl();
}

long FormatFile::Release() const
{
    const long left = m_refCount.ReleaseImpl();
    if (left == 0)
        delete this;
    return left;
}

} // namespace Conf
} // namespace Vantor
