#include "core/CdTextTocPacks.h"

#include "core/Failure.h"

#include <cueify/error.h>

namespace cueify {
namespace {

constexpr size_t kStartsPerPack = 4;
constexpr size_t kMsfBytes = 3;

void putMsf(uint8_t* bytes, cueify_msf_t msf) noexcept
{
    bytes[0] = msf.min;
    bytes[1] = msf.sec;
    bytes[2] = msf.frm;
}

cueify_msf_t msfAt(const uint8_t* bytes) noexcept
{
    return cueify_msf_t{bytes[0], bytes[1], bytes[2]};
}

CdTextPack tocPack(uint8_t type, uint8_t track)
{
    CdTextPack pack;
    pack.type = type;
    pack.track = track;
    return pack;
}

bool isTrackNumber(uint8_t track) noexcept
{
    return track >= 1 && track <= CdTextToc::kLastTrackNumber;
}

[[noreturn]] void corrupted(const std::string& what)
{
    throw Failure(CUEIFY_ERR_CORRUPTED, "CD-Text " + what);
}

void readTrackStarts(CdTextToc& toc, const CdTextPack& pack)
{
    if (pack.track == 0) {
        const uint8_t first = pack.data[0], last = pack.data[1];
        if (!isTrackNumber(first) || !isTrackNumber(last) || first > last)
            corrupted("TOC with tracks " + std::to_string(first) + " to " + std::to_string(last));
        toc.firstTrack = first;
        toc.lastTrack = last;
        toc.leadOut = msfAt(&pack.data[3]);
        return;
    }
    for (size_t i = 0; i < kStartsPerPack; ++i)
        toc.setStart(static_cast<uint8_t>(pack.track + i), msfAt(&pack.data[i * kMsfBytes]));
}

void readInterval(CdTextToc& toc, const CdTextPack& pack)
{
    const uint8_t number = pack.data[0], count = pack.data[1];
    if (!isTrackNumber(pack.track) || number == 0 || number > count)
        corrupted("interval " + std::to_string(number) + " of " + std::to_string(count) + " in track " +
                  std::to_string(pack.track));
    const size_t known = toc.intervals(pack.track).size();
    if (known != 0 && known != count)
        corrupted("intervals of track " + std::to_string(pack.track) + " counted both " +
                  std::to_string(known) + " and " + std::to_string(count));
    toc.setIntervalCount(pack.track, count);
    toc.setInterval(pack.track, number, {msfAt(&pack.data[6]), msfAt(&pack.data[9])});
}

} // namespace

std::vector<CdTextPack> packToc(const CdTextToc& toc)
{
    std::vector<CdTextPack> packs;
    if (!toc.isSet())
        return packs;
    CdTextPack header = tocPack(pack_type::kToc, 0);
    header.data[0] = toc.firstTrack;
    header.data[1] = toc.lastTrack;
    putMsf(&header.data[3], toc.leadOut);
    packs.push_back(header);
    for (unsigned track = toc.firstTrack; track <= toc.lastTrack; ++track) {
        const size_t slot = (track - toc.firstTrack) % kStartsPerPack;
        if (slot == 0)
            packs.push_back(tocPack(pack_type::kToc, static_cast<uint8_t>(track)));
        putMsf(&packs.back().data[slot * kMsfBytes], toc.start(static_cast<uint8_t>(track)));
    }
    for (unsigned track = toc.firstTrack; track <= toc.lastTrack; ++track) {
        const std::vector<CdTextInterval>& intervals = toc.intervals(static_cast<uint8_t>(track));
        for (size_t i = 0; i < intervals.size(); ++i) {
            CdTextPack pack = tocPack(pack_type::kTocIntervals, static_cast<uint8_t>(track));
            pack.data[0] = static_cast<uint8_t>(i + 1);
            pack.data[1] = static_cast<uint8_t>(intervals.size());
            putMsf(&pack.data[6], intervals[i].start);
            putMsf(&pack.data[9], intervals[i].end);
            packs.push_back(pack);
        }
    }
    return packs;
}

void readTocPack(CdTextToc& toc, const CdTextPack& pack)
{
    if (pack.type == pack_type::kToc)
        readTrackStarts(toc, pack);
    else
        readInterval(toc, pack);
}

} // namespace cueify
