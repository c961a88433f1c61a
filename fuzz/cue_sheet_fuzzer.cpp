// Feeds arbitrary bytes to the disc-access library as a CUE sheet, beside the data files of a few
// small images, and reads what it opened through the C API: the full TOC, every getter of every
// session and track, and sectors at the edges of every track. Besides the sanitizers' findings,
// a result code outside the API's, a TOC that breaks its own numbering or a sector that reads
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

bool isApiResult(int result)
{
    return result >= CUEIFY_OK && result <= CUEIFY_ERR_INVALID_CDTEXT;
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

void walkToc(cueify_device* device, cueify_full_toc* toc)
{
    const uint8_t firstSession = cueify_full_toc_get_first_session(toc);
    const uint8_t lastSession = cueify_full_toc_get_last_session(toc);
    expect(firstSession >= 1 && firstSession <= lastSession);
    for (unsigned session = firstSession; session <= lastSession; ++session) {
        const uint8_t first = cueify_full_toc_get_session_first_track(toc, uint8_t(session));
        const uint8_t last = cueify_full_toc_get_session_last_track(toc, uint8_t(session));
        expect(first >= 1 && first <= last && last <= 99);
        for (unsigned track = first; track <= last; ++track) {
            const uint32_t start = framesOf(cueify_full_toc_get_track_address(toc, uint8_t(track)));
            const uint32_t length = framesOf(cueify_full_toc_get_track_length(toc, uint8_t(track)));
            expect(start >= 150);
            (void)cueify_full_toc_get_track_control_flags(toc, uint8_t(track));
            (void)cueify_full_toc_get_track_session(toc, uint8_t(track));
            readSectorTwice(device, start - 150);
            if (length > 0)
                readSectorTwice(device, start - 150 + length - 1);
        }
        const uint32_t leadOut = framesOf(cueify_full_toc_get_session_leadout_address(toc, uint8_t(session)));
        readSectorTwice(device, leadOut >= 150 ? leadOut - 150 : 0);
    }
    (void)cueify_full_toc_get_track_address(toc, 0);
    (void)cueify_full_toc_get_track_length(toc, CUEIFY_LEAD_OUT_TRACK);
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
    expect(isApiResult(opened));
    if (opened != CUEIFY_OK)
        return 0;
    const cueify::test::TocOwner toc(cueify_full_toc_new());
    expect(toc != nullptr);
    const int read = cueify_device_read_full_toc(device.get(), toc.get());
    expect(isApiResult(read));
    if (read == CUEIFY_OK)
        walkToc(device.get(), toc.get());
    readSectorTwice(device.get(), 0xFFFFFFFFu);
    return 0;
}
