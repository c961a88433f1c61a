// The parts of the C API that ask a device about its disc beyond the full TOC: the plain TOC,
// the multisession record, MCN and ISRC, track indices, data modes and control flags.
#include "core/ApiGuard.h"
#include "core/DiscIdApi.h"
#include "core/Handle.h"
#include "core/PlainToc.h"
#include "device/DeviceHandle.h"

// discid.h comes after the headers of the types it names, as the umbrella header has them.
#include <cueify/cueify.h>

#include <algorithm>
#include <cstring>
#include <new>

using cueify::Device;
using cueify::guardedCall;
using cueify::IndexMark;
using cueify::objectOf;
using cueify::openDeviceOf;

namespace {

constexpr size_t kMcnBytes = 14;  // 13 digits and the NUL
constexpr size_t kIsrcBytes = 13; // 12 characters and the NUL
constexpr uint8_t kUnknownControl = 0x0F;
constexpr size_t kModeByte = 15; // after the 12 sync bytes and the 3 address bytes

struct TrackIndices
{
    std::vector<IndexMark> marks;
};

bool holdsTrack(const cueify::PlainToc& toc, uint8_t track)
{
    return track >= toc.firstTrack && track <= toc.lastTrack && track < toc.tracks.size();
}

// Copies a code as the MCN and ISRC calls hand it out: NUL-terminated, cut to the caller's size.
void copyCode(const std::string& code, char* buffer, size_t* size) noexcept
{
    const size_t copied = std::min(code.size() + 1, *size);
    if (copied > 0) {
        std::memcpy(buffer, code.data(), copied - 1);
        buffer[copied - 1] = '\0';
    }
    *size = copied;
}

// A disc without the code leaves the caller an empty text.
void noCode(char* buffer, size_t* size) noexcept
{
    if (*size > 0) {
        buffer[0] = '\0';
        *size = 1;
    }
}

template <class ReadCode>
int readCode(cueify_device* d, char* buffer, size_t* size, size_t needed, ReadCode read)
{
    Device* device = openDeviceOf(d);
    if (!device || !size)
        return CUEIFY_ERR_BADARG;
    if (!buffer) {
        *size = needed;
        return CUEIFY_OK;
    }
    return guardedCall([&] {
        try {
            copyCode(read(*device), buffer, size);
        } catch (const cueify::Failure& failure) {
            if (failure.code() == CUEIFY_NO_DATA)
                noCode(buffer, size);
            throw;
        }
    });
}

} // namespace

extern "C" {

int cueify_device_get_supported_apis(cueify_device* d)
{
    return d ? CUEIFY_DEVICE_SUPPORTS_TOC | CUEIFY_DEVICE_SUPPORTS_SESSIONS |
                   CUEIFY_DEVICE_SUPPORTS_FULL_TOC | CUEIFY_DEVICE_SUPPORTS_CDTEXT |
                   CUEIFY_DEVICE_SUPPORTS_MCN_ISRC | CUEIFY_DEVICE_SUPPORTS_INDICES |
                   CUEIFY_DEVICE_SUPPORTS_DATA_MODE | CUEIFY_DEVICE_SUPPORTS_TRACK_CONTROL
             : 0;
}

int cueify_device_read_toc(cueify_device* d, cueify_toc* t)
{
    Device* device = openDeviceOf(d);
    if (!device || !t)
        return CUEIFY_ERR_BADARG;
    *objectOf<cueify::PlainToc>(t) = cueify::PlainToc();
    return guardedCall([&] { *objectOf<cueify::PlainToc>(t) = cueify::plainTocOf(device->readFullToc()); });
}

int cueify_device_read_sessions(cueify_device* d, cueify_sessions* s)
{
    Device* device = openDeviceOf(d);
    if (!device || !s)
        return CUEIFY_ERR_BADARG;
    *objectOf<cueify::SessionsRecord>(s) = cueify::SessionsRecord();
    return guardedCall(
        [&] { *objectOf<cueify::SessionsRecord>(s) = cueify::sessionsOf(device->readFullToc()); });
}

int cueify_device_read_mcn(cueify_device* d, char* buffer, size_t* size)
{
    return readCode(d, buffer, size, kMcnBytes, [](Device& device) { return device.readMcn(); });
}

int cueify_device_read_isrc(cueify_device* d, uint8_t track, char* buffer, size_t* size)
{
    return readCode(d, buffer, size, kIsrcBytes, [track](Device& device) { return device.readIsrc(track); });
}

cueify_indices* cueify_indices_new(void)
{
    return cueify::handleTo<cueify_indices>(new (std::nothrow) TrackIndices());
}

void cueify_indices_free(cueify_indices* i)
{
    delete objectOf<TrackIndices>(i);
}

int cueify_device_read_track_indices(cueify_device* d, cueify_indices* i, uint8_t track)
{
    Device* device = openDeviceOf(d);
    if (!device || !i)
        return CUEIFY_ERR_BADARG;
    objectOf<TrackIndices>(i)->marks.clear();
    return guardedCall([&] {
        if (!holdsTrack(cueify::plainTocOf(device->readFullToc()), track))
            throw cueify::Failure(CUEIFY_ERR_INTERNAL, "the disc has no track " + std::to_string(track));
        objectOf<TrackIndices>(i)->marks = device->readTrackIndices(track);
    });
}

uint8_t cueify_indices_get_num_indices(cueify_indices* i)
{
    return i ? static_cast<uint8_t>(objectOf<TrackIndices>(i)->marks.size()) : 0;
}

uint8_t cueify_indices_get_index_number(cueify_indices* i, uint8_t index)
{
    if (!i || index >= objectOf<TrackIndices>(i)->marks.size())
        return 0;
    return objectOf<TrackIndices>(i)->marks[index].number;
}

cueify_msf_t cueify_indices_get_index_offset(cueify_indices* i, uint8_t index)
{
    if (!i || index >= objectOf<TrackIndices>(i)->marks.size())
        return cueify_msf_t{0, 0, 0};
    return cueify::toMsf(objectOf<TrackIndices>(i)->marks[index].address);
}

int cueify_device_read_data_mode(cueify_device* d, uint8_t track)
{
    Device* device = openDeviceOf(d);
    if (!device)
        return CUEIFY_DATA_MODE_ERROR;
    int mode = CUEIFY_DATA_MODE_ERROR;
    guardedCall([&] {
        const cueify::PlainToc toc = cueify::plainTocOf(device->readFullToc());
        if (!holdsTrack(toc, track))
            throw cueify::Failure(CUEIFY_ERR_BADARG, "the disc has no track " + std::to_string(track));
        if ((toc.tracks[track].control & CUEIFY_TOC_TRACK_IS_DATA) == 0) {
            mode = CUEIFY_DATA_MODE_CDDA;
            return;
        }
        uint8_t sector[CUEIFY_RAW_SECTOR_SIZE];
        device->readRawSector(cueify::Lba{toc.tracks[track].lba}, sector);
        mode =
            sector[kModeByte] == 1 || sector[kModeByte] == 2 ? sector[kModeByte] : CUEIFY_DATA_MODE_UNKNOWN;
    });
    return mode;
}

uint8_t cueify_device_read_track_control_flags(cueify_device* d, uint8_t track)
{
    Device* device = openDeviceOf(d);
    if (!device)
        return kUnknownControl;
    uint8_t control = kUnknownControl;
    guardedCall([&] {
        if (!holdsTrack(cueify::plainTocOf(device->readFullToc()), track))
            throw cueify::Failure(CUEIFY_ERR_BADARG, "the disc has no track " + std::to_string(track));
        control = device->readTrackControlFlags(track);
    });
    return control;
}

uint32_t cueify_device_get_freedb_id(cueify_device* d, int use_data_tracks)
{
    Device* device = openDeviceOf(d);
    uint32_t id = 0;
    if (device) {
        guardedCall(
            [&] { id = cueify::freedbId(cueify::idDiscOf(device->readFullToc(), use_data_tracks != 0)); });
    }
    return id;
}

char* cueify_device_get_musicbrainz_id(cueify_device* d)
{
    Device* device = openDeviceOf(d);
    char* id = nullptr;
    if (device) {
        guardedCall([&] {
            const cueify::IdDisc disc = cueify::idDiscOf(device->readFullToc(), true);
            id = cueify::copiedId(cueify::musicbrainzId(cueify::withoutTrailingData(disc)));
            if (!id)
                throw std::bad_alloc();
        });
    }
    return id;
}

} // extern "C"
