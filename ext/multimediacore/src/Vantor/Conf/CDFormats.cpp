#include "Vantor/Conf/CDFormats.h"

namespace Vantor {
namespace Conf {

namespace {

// Built on first use, so no code runs while the library loads.
std::vector<std::string>& FormatList()
{
    static std::vector<std::string> formats{"cda"};
    return formats;
}

} // namespace

const std::vector<std::string>& GetCDFormatList()
{
    return FormatList();
}

void SetCDFormatList(std::vector<std::string> formats)
{
    FormatList() = std::move(formats);
}

} // namespace Conf
} // namespace Vantor
