#include "DiscIdentity.h"

#include <array>
#include <cstdlib>
#include <memory>

namespace vantorcd {
namespace {

constexpr uint32_t kLeadInFrames = 150;

template <class Handle, void (*Free)(Handle*)> struct Freeing
{
    void operator()(Handle* handle) const noexcept { Free(handle); }
};
using CdTextOwner = std::unique_ptr<cueify_cdtext, Freeing<cueify_cdtext, cueify_cdtext_free>>;
using IndicesOwner = std::unique_ptr<cueify_indices, Freeing<cueify_indices, cueify_indices_free>>;

struct MallocFree
{
    void operator()(char* text) const noexcept { std::free(text); }
};

std::string musicbrainzIdOf(cueify_full_toc* toc)
{
    const std::unique_ptr<char, MallocFree> id(cueify_full_toc_get_musicbrainz_id(toc));
    return id ? id.get() : "";
}

// A code the sub-channel carries: 13 digits of MCN or 12 characters of ISRC.
template <class Read> std::string codeOf(Read read)
{
    std::array<char, 16> buffer{};
    size_t size = buffer.size();
    return read(buffer.data(), &size) == CUEIFY_OK ? std::string(buffer.data()) : std::string();
}

std::string textOf(const char* text)
{
    return text ? text : "";
}

CdTextNames namesOf(cueify_cdtext_block* block, uint8_t track)
{
    return {textOf(cueify_cdtext_block_get_title(block, track)),
            textOf(cueify_cdtext_block_get_performer(block, track))};
}

void readCdText(cueify_device* device, DiscToc& disc)
{
    const CdTextOwner cdText(cueify_cdtext_new());
    if (!cdText || cueify_device_read_cdtext(device, cdText.get()) != CUEIFY_OK)
        return;
    cueify_cdtext_block* block = cueify_cdtext_get_block(cdText.get(), 0);
    if (!block)
        return;
    disc.identity.cdText = namesOf(block, CUEIFY_CDTEXT_ALBUM);
    for (TocTrack& track : disc.tracks)
        track.cdText = namesOf(block, static_cast<uint8_t>(track.number));
}

uint32_t framesOf(cueify_msf_t msf)
{
    return msf.min * 4500u + msf.sec * 75u + msf.frm;
}

// A track's pregap ends the index list of the track before it, as its INDEX 00; the first track's
// pregap is all that comes before its start.
void readPregaps(cueify_device* device, DiscToc& disc)
{
    const IndicesOwner indices(cueify_indices_new());
    for (size_t t = 0; indices && t < disc.tracks.size(); ++t) {
        TocTrack& track = disc.tracks[t];
        if (t == 0) {
            track.pregapSectors = track.startLba;
            continue;
        }
        const TocTrack& previous = disc.tracks[t - 1];
        if (previous.session != track.session)
            continue;
        if (cueify_device_read_track_indices(device, indices.get(), static_cast<uint8_t>(previous.number)) !=
            CUEIFY_OK)
            continue;
        const uint8_t count = cueify_indices_get_num_indices(indices.get());
        track.pregapSectors = 0;
        if (count > 0 &&
            cueify_indices_get_index_number(indices.get(), static_cast<uint8_t>(count - 1)) == 0) {
            const uint32_t pregapStart =
                framesOf(cueify_indices_get_index_offset(indices.get(), count - 1)) - kLeadInFrames;
            track.pregapSectors = track.startLba - pregapStart;
        }
    }
}

} // namespace

void readDiscIdentity(cueify_device* device, cueify_full_toc* toc, DiscToc& disc)
{
    disc.identity.musicbrainzId = musicbrainzIdOf(toc);
    disc.identity.freedbId = cueify_full_toc_get_freedb_id(toc, 1);
    disc.identity.mcn =
        codeOf([device](char* buffer, size_t* size) { return cueify_device_read_mcn(device, buffer, size); });
    for (TocTrack& track : disc.tracks) {
        const auto number = static_cast<uint8_t>(track.number);
        if (track.audio)
            track.isrc = codeOf([device, number](char* buffer, size_t* size) {
                return cueify_device_read_isrc(device, number, buffer, size);
            });
    }
    readPregaps(device, disc);
    readCdText(device, disc);
}

} // namespace vantorcd
