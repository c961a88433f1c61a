// The device part of the C API: argument checks and result codes over a Device.
#include "core/ApiGuard.h"
#include "core/FullTocHandle.h"
#include "device/DeviceHandle.h"
#include "device/DeviceNames.h"
#include "device/DeviceOpening.h"
#include "device/NameBlock.h"

#include <cueify/device.h>
#include <cueify/error.h>

#include <new>

using cueify::DeviceHandle;
using cueify::deviceHandleOf;
using cueify::guardedCall;
using cueify::openDeviceOf;

namespace {

void openNamed(DeviceHandle& handle, const char* name)
{
    if (!name)
        name = cueify::defaultDeviceName();
    if (!name)
        throw cueify::Failure(CUEIFY_ERR_NO_DEVICE, "no drive, and no virtual drive named");
    handle.device.reset();
    handle.device = cueify::openDevice(name);
}

} // namespace

extern "C" {

cueify_device* cueify_device_new(void)
{
    return cueify::handleOf(new (std::nothrow) DeviceHandle());
}

int cueify_device_open(cueify_device* d, const char* device)
{
    if (!d || (device && *device == '\0'))
        return CUEIFY_ERR_BADARG;
    return guardedCall([&] { openNamed(*deviceHandleOf(d), device); });
}

int cueify_device_close(cueify_device* d)
{
    if (!d)
        return CUEIFY_ERR_BADARG;
    deviceHandleOf(d)->device.reset();
    return CUEIFY_OK;
}

void cueify_device_free(cueify_device* d)
{
    delete deviceHandleOf(d);
}

const char* cueify_device_get_default_device(void)
{
    try {
        return cueify::defaultDeviceName();
    } catch (...) {
        return nullptr;
    }
}

int cueify_device_read_full_toc(cueify_device* d, cueify_full_toc* t)
{
    if (!d || !t)
        return CUEIFY_ERR_BADARG;
    cueify::FullTocData& toc = *cueify::tocDataOf(t);
    toc = cueify::FullTocData();
    cueify::Device* device = openDeviceOf(d);
    if (!device)
        return CUEIFY_ERR_BADARG;
    return guardedCall([&] { toc = device->readFullToc(); });
}

int cueify_device_read_raw(cueify_device* d, uint32_t lba, uint8_t* buffer)
{
    cueify::Device* device = openDeviceOf(d);
    if (!device || !buffer)
        return CUEIFY_ERR_BADARG;
    return guardedCall([&] { device->readRawSector(cueify::Lba{lba}, buffer); });
}

int cueify_device_read_raw_uncached(cueify_device* d, uint32_t lba, uint8_t* buffer)
{
    cueify::Device* device = openDeviceOf(d);
    if (!device || !buffer)
        return CUEIFY_ERR_BADARG;
    return guardedCall([&] { device->readRawSectorUncached(cueify::Lba{lba}, buffer); });
}

int cueify_device_set_read_speed(cueify_device* d, unsigned int speed)
{
    cueify::Device* device = openDeviceOf(d);
    if (!device)
        return CUEIFY_ERR_BADARG;
    return guardedCall([&] { device->setReadSpeed(speed); });
}

int cueify_device_read_raw_uncached_c2(cueify_device* d, uint32_t lba, uint8_t* buffer, uint8_t* c2_pointers)
{
    cueify::Device* device = openDeviceOf(d);
    if (!device || !buffer || !c2_pointers)
        return CUEIFY_ERR_BADARG;
    return guardedCall([&] { device->readRawSectorUncachedWithC2(cueify::Lba{lba}, buffer, c2_pointers); });
}

char** cueify_device_get_all_devices(size_t* count)
{
    size_t listed = 0;
    char** block = nullptr;
    try {
        block = cueify::packNames(cueify::allDeviceNames(), listed);
    } catch (...) {
        block = nullptr;
        listed = 0;
    }
    if (count)
        *count = listed;
    return block;
}

} // extern "C"
