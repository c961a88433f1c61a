// Feeds arbitrary bytes to the disc-access library as a CUE sheet, beside the data files of a few
// small images, and reads what it opened through the C API: the full TOC, and sectors at the edges
// of every track. Besides the sanitizers' findings, an open whose code is not the API's, a TOC of
// an open image that cannot be read or breaks its own numbering, or a sector that reads
// differently twice traps.
#include "ScratchDirectory.h"
#include "cueify_testing/CueifyOwners.h"
#include "fuzz/CueImageDiscs.h"

#include "mkdisc/DiscWriter.h"

#include <discgeometry/DiscGeometry.h>

#include <array>
#include <fstream>

namespace {

void expect(bool condition)
{
    if (!condition)
        __builtin_trap();
}

uint32_t framesOf(cueify_msf_t msf)
{
    return discgeometry::framesOf({msf.min, msf.sec, msf.frm});
}

// Reads one sector twice: the answers must be one of the API's and agree with each other.
void readSectorTwice(cueify_device* device, uint32_t lba)
{
    std::array<uint8_t, discgeometry::kRawSectorBytes> first{}, second{};
    const int result = cueify_device_read_raw(device, lba, first.data());
    expect(result == CUEIFY_OK || result == CUEIFY_ERR_BADARG || result == CUEIFY_ERR_INTERNAL);
    expect(cueify_device_read_raw(device, lba, second.data()) == result);
    expect(result != CUEIFY_OK || first == second);
}

// Every session's and track's numbers must hold together; each track's first and last sectors
// and each lead-out's are read.
void walkToc(cueify_device* device, cueify_full_toc* toc)
{
    const uint8_t lastSession = cueify_full_toc_get_last_session(toc);
    expect(cueify_full_toc_get_first_session(toc) == 1 && lastSession >= 1);
    for (uint8_t session = 1; session <= lastSession; ++session) {
        const uint8_t first = cueify_full_toc_get_session_first_track(toc, session);
        const uint8_t last = cueify_full_toc_get_session_last_track(toc, session);
        expect(first >= 1 && first <= last && last <= 99);
        for (uint8_t track = first; track <= last; ++track) {
            const uint32_t start = framesOf(cueify_full_toc_get_track_address(toc, track));
            const uint32_t length = framesOf(cueify_full_toc_get_track_length(toc, track));
            expect(start >= 150 && cueify_full_toc_get_track_session(toc, track) == session);
            readSectorTwice(device, start - 150);
            readSectorTwice(device, start - 150 + length - 1);
        }
        readSectorTwice(device, framesOf(cueify_full_toc_get_session_leadout_address(toc, session)) - 150);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const testsupport::ScratchDirectory folder;
    static const bool written = [] {
        for (const mkdisc::DiscDescription& disc : fuzzsupport::cueImageDiscs())
            mkdisc::writeDisc(disc, folder.path());
        return true;
    }();
    (void)written;
    const std::filesystem::path sheet = folder.path() / "fuzzed.cue";
    expect(static_cast<bool>(
        std::ofstream(sheet, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size))));
    const cueify::test::DeviceOwner device(cueify_device_new());
    expect(device != nullptr);
    const int opened = cueify_device_open(device.get(), sheet.c_str());
    expect(opened >= CUEIFY_OK && opened <= CUEIFY_ERR_INVALID_CDTEXT); // one of the API's codes
    if (opened != CUEIFY_OK)
        return 0;
    const cueify::test::TocOwner toc(cueify_full_toc_new());
    expect(toc != nullptr && cueify_device_read_full_toc(device.get(), toc.get()) == CUEIFY_OK);
    walkToc(device.get(), toc.get());
    readSectorTwice(device.get(), 0xFFFFFFFFu);
    return 0;
}
