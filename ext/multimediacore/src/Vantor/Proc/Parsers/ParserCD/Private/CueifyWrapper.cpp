#include "Vantor/Proc/Parsers/ParserCD/Private/CueifyWrapper.h"

#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Core/Interfaces/Throw.h"

#include <array>

namespace {

// Freeing the device also closes it, so the last owner of an open device closes the drive.
void FreeDevice(cueify_device* device) noexcept
{
    if (device != nullptr)
        cueify_device_free(device);
}

void FreeToc(cueify_full_toc* toc) noexcept
{
    if (toc != nullptr)
        cueify_full_toc_free(toc);
}

// Indexed by cueify result code; row 0 also serves every code outside the table.
const std::array<const char*, 10> kCueifyErrorTexts = {
    "Undefined cueify_error.",
    "The data requested is not present.",
    "An internal error occured.",
    "A bad argument was provided.",
    "Memory could not be allocated during this operation.",
    "The device could not be opened.",
    "The serialized data was truncated.",
    "The serialized data was corrupted.",
    "The serialized data could not fit.",
    "The CD-Text data was invalid.",
};

std::string PreferredUtf8(const Vantor::ioPath& path)
{
    Vantor::ioPath preferred(path);
    preferred.make_preferred();
    return preferred.utf8string();
}

} // namespace

// Defined at global scope with these parameter spellings: the throw sites record the signature
// as the compiler writes it, and hosts compare that text.
std::shared_ptr<cueify_device> OpenDevice(const Vantor::ioPath& path)
{
    if (path.empty())
        VANTOR_THROW(Vantor::Exception, << Vantor::ErrorDescription("Empty drive path."));

    // Owned before it is tested: if making the owner fails, shared_ptr frees the handle itself.
    std::shared_ptr<cueify_device> device(cueify_device_new(), FreeDevice);
    if (!device)
        VANTOR_THROW(Vantor::Exception, << Vantor::ErrorDescription("Cannot create new cueify device."));

    const int result = cueify_device_open(device.get(), PreferredUtf8(path).c_str());
    if (result != CUEIFY_OK)
        VANTOR_THROW(Vantor::Exception,
                     << Vantor::ErrorDescription("Cannot open cueify device " + path.utf8string() +
                                                 ". Cueify error: " + CueifyError2String(result)));
    return device;
}

std::shared_ptr<cueify_full_toc> ReadToc(const std::shared_ptr<cueify_device>& device)
{
    if (!device)
        return {};

    std::shared_ptr<cueify_full_toc> toc(cueify_full_toc_new(), FreeToc);
    if (!toc)
        VANTOR_THROW(Vantor::Exception, << Vantor::ErrorDescription("Cannot create toc."));

    const int result = cueify_device_read_full_toc(device.get(), toc.get());
    if (result != CUEIFY_OK)
        VANTOR_THROW(Vantor::Exception,
                     << Vantor::ErrorDescription("Cannot read TOC from device. Cueify error: " +
                                                 CueifyError2String(result)));
    return toc;
}

Vantor::avTime Msf2Sec(const cueify_msf_t& msf) noexcept
{
    constexpr Vantor::avTime kMicrosecondsPerSecond = 1000000;
    return (Vantor::avTime{msf.min} * 60 + msf.sec) * kMicrosecondsPerSecond;
}

std::string CueifyError2String(int error)
{
    const bool inTable = error > 0 && static_cast<size_t>(error) < kCueifyErrorTexts.size();
    return kCueifyErrorTexts[inTable ? static_cast<size_t>(error) : 0];
}
