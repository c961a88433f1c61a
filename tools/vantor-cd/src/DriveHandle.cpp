#include "DriveHandle.h"

#include "ErrorText.h"
#include "UserError.h"

namespace vantorcd {
namespace {

std::string reasonOf(int code)
{
    switch (code) {
    case CUEIFY_ERR_NO_DEVICE:
        return "no such drive or disc image";
    case CUEIFY_ERR_NOMEM:
        return "out of memory";
    case CUEIFY_ERR_BADARG:
        return "not a drive name";
    default:
        return "no disc, or its table of contents cannot be read";
    }
}

} // namespace

DriveHandle::DriveHandle(std::string drive) : m_drive(std::move(drive)), m_device(cueify_device_new())
{
    if (!m_device)
        throw UserError("out of memory");
    const int result = cueify_device_open(m_device.get(), m_drive.c_str());
    if (result != CUEIFY_OK) {
        const std::string reason = discAccessReason();
        throw UserError("cannot open " + m_drive + ": " + (reason.empty() ? reasonOf(result) : reason));
    }
}

} // namespace vantorcd
