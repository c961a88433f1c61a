#include "Vantor/Core/Interfaces/IDataInput.h"

namespace Vantor {
namespace Core {

namespace {

class NamedInput final : public DataInputPath
{
public:
    explicit NamedInput(const ioPath& path) : m_path(path) {}

    long AddRef() const override { return m_refCount.AddRefImpl(); }
    long GetRefCount() const override { return m_refCount.GetRefCountImpl(); }
    long Release() const override
    {
        const long left = m_refCount.ReleaseImpl();
        if (left == 0)
            delete this;
        return left;
    }

    ioPath GetPath() const override { return m_path; }
    size_t Read(void*, size_t) override { return 0; }

private:
    RefCountImpl m_refCount;
    ioPath m_path;
};

} // namespace

SP<IDataInput> DataInputPath::Create(const ioPath& path)
{
    return SP<IDataInput>(new NamedInput(path));
}

} // namespace Core
} // namespace Vantor
