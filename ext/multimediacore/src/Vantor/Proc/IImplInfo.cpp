#include "Vantor/Proc/IImplInfo.h"

namespace Vantor {
namespace Proc {

IImplInfo::IImplInfo(const std::string& formatName, const std::string& implName)
    : m_formatName(formatName), m_implName(implName)
{
}

IImplInfo::~IImplInfo() = default;

} // namespace Proc
} // namespace Vantor
