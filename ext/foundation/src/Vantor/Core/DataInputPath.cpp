#include "Vantor/Core/Interfaces/IDataInput.h"

namespace Vantor {
namespace Core {

namespace {

class NamedInput final : public RefCounted<DataInputPath>
{
public:
    explicit NamedInput(const ioPath& path) : m_path(path) {}

    ioPath GetPath() const override { return m_path; }
    size_t Read(void*, size_t) override { return 0; }

private:
    ioPath m_path;
};

} // namespace

SP<IDataInput> DataInputPath::Create(const ioPath& path)
{
    return SP<IDataInput>(new NamedInput(path));
}

} // namespace Core
} // namespace Vantor
