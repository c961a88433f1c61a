// Reading a disc's CD-Text through the C API.
#include "core/ApiGuard.h"
#include "core/CdTextHandle.h"
#include "device/DeviceHandle.h"

#include <cueify/cdtext.h>
#include <cueify/error.h>

extern "C" {

// t keeps what it held until a read succeeds.
int cueify_device_read_cdtext(cueify_device* d, cueify_cdtext* t)
{
    cueify::Device* device = cueify::openDeviceOf(d);
    if (!device || !t)
        return CUEIFY_ERR_BADARG;
    return cueify::guardedCall([&] { *cueify::cdTextOf(t) = device->readCdText(); });
}

} // extern "C"
