#include "Vantor/Proc/Parsers/ParserCD/Private/RawDeviceName.h"

namespace Vantor {
namespace Proc {

std::string RawDeviceName(std::string blockDevice)
{
    // "/dev/" is five characters long; std::string::insert rejects a position past the end.
    constexpr std::string::size_type kAfterDevFolder = 5;
    blockDevice.insert(kAfterDevFolder, "r");
    return blockDevice;
}

} // namespace Proc
} // namespace Vantor
