// Feeds arbitrary bytes to the disc-access library as a CUE sheet, beside the data files of a few
// small images, and reads what it opened through the C API: the full TOC, every getter of every
// session and track, and sectors at the edges of every track. Besides the sanitizers' findings,
// a result code outside the API's, a TOC that breaks its own numbering or a sector that reads
// differently twice traps.
#include "ScratchDirectory.h"
#include "cueify_testing/CueifyOwners.h"
#include "fuzz/CueImageDiscs.h"

#include "mkdisc/DiscWriter.h"

#include <cueify/cueify.h>
#include <discgeometry/DiscGeometry.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

namespace {

using Device = cueify::test::DeviceOwner;
using Toc = cueify::test::TocOwner;
using Sector = std::array<uint8_t, discgeometry::kRawSectorBytes>;

struct ImageFolder
{
    testsupport::ScratchDirectory root;
    std::string sheet = (root.path() / "fuzzed.cue").string();

    ImageFolder()
    {
        for (const mkdisc::DiscDescription& disc : fuzzsupport::cueImageDiscs())
            mkdisc::writeDisc(disc, root.path());
    }
};

const ImageFolder& folder()
{
    static const ImageFolder instance;
    return instance;
}

void expect(bool condition)
{
    if (!condition)
        __builtin_trap();
}

uint32_t sectorValue(cueify_msf_t msf)
{
    return discgeometry::framesOf({msf.min, msf.sec, msf.frm});
}

// Reads one sector twice: the answers must be one of the API's and agree with each other.
void readSectorTwice(cueify_device* device, uint32_t lba)
{
    Sector first{};
    Sector second{};
    const int result = cueify_device_read_raw(device, lba, first.data());
    expect(result == CUEIFY_OK || result == CUEIFY_ERR_BADARG || result == CUEIFY_ERR_INTERNAL);
    expect(cueify_device_read_raw(device, lba, second.data()) == result);
    expect(result != CUEIFY_OK || first == second);
}

void walkTracks(cueify_device* device, cueify_full_toc* toc, uint8_t first, uint8_t last)
{
    for (unsigned track = first; track <= last; ++track) {
        const uint8_t number = static_cast<uint8_t>(track);
        const uint32_t start = sectorValue(cueify_full_toc_get_track_address(toc, number));
        const uint32_t length = sectorValue(cueify_full_toc_get_track_length(toc, number));
        expect(start >= 150);
        (void)cueify_full_toc_get_track_control_flags(toc, number);
        (void)cueify_full_toc_get_track_session(toc, number);
        readSectorTwice(device, start - 150);
        if (length > 0)
            readSectorTwice(device, start - 150 + length - 1);
    }
}

void walkToc(cueify_device* device, cueify_full_toc* toc)
{
    const uint8_t firstSession = cueify_full_toc_get_first_session(toc);
    const uint8_t lastSession = cueify_full_toc_get_last_session(toc);
    expect(firstSession >= 1 && firstSession <= lastSession);
    for (unsigned session = firstSession; session <= lastSession; ++session) {
        const uint8_t number = static_cast<uint8_t>(session);
        const uint8_t first = cueify_full_toc_get_session_first_track(toc, number);
        const uint8_t last = cueify_full_toc_get_session_last_track(toc, number);
        expect(first >= 1 && first <= last && last <= 99);
        walkTracks(device, toc, first, last);
        const uint32_t leadOut = sectorValue(cueify_full_toc_get_session_leadout_address(toc, number));
        readSectorTwice(device, leadOut >= 150 ? leadOut - 150 : 0);
    }
    (void)cueify_full_toc_get_track_address(toc, 0);
    (void)cueify_full_toc_get_track_length(toc, CUEIFY_LEAD_OUT_TRACK);
}

void readImage(const std::string& sheet)
{
    const Device device(cueify_device_new());
    expect(device != nullptr);
    const int opened = cueify_device_open(device.get(), sheet.c_str());
    expect(opened >= CUEIFY_OK && opened <= CUEIFY_ERR_INVALID_CDTEXT);
    if (opened != CUEIFY_OK)
        return;
    const Toc toc(cueify_full_toc_new());
    expect(toc != nullptr);
    const int read = cueify_device_read_full_toc(device.get(), toc.get());
    expect(read >= CUEIFY_OK && read <= CUEIFY_ERR_INVALID_CDTEXT);
    if (read == CUEIFY_OK)
        walkToc(device.get(), toc.get());
    readSectorTwice(device.get(), 0xFFFFFFFFu);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        std::ofstream out(folder().sheet, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        expect(static_cast<bool>(out));
    }
    readImage(folder().sheet);
    return 0;
}
