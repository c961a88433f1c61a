#include "Vantor/Proc/IPluginRegistry.h"

namespace Vantor {
namespace Proc {

IPluginRegistry::~IPluginRegistry() = default;

} // namespace Proc
} // namespace Vantor
