// The CD-Text part of the C API: the object, its packs and its TOC.
#include "core/ApiGuard.h"
#include "core/CdTextHandle.h"
#include "core/CdTextReader.h"
#include "core/CdTextWriter.h"
#include "core/PlainToc.h"

#include <cueify/cdtext.h>
#include <cueify/error.h>

#include <algorithm>
#include <new>

using cueify::CdTextData;
using cueify::CdTextToc;
using cueify::guardedCall;

namespace {

constexpr cueify_msf_t kNoAddress = {0, 0, 0};

// The TOC of a handle, or null.
const CdTextToc* tocOf(cueify_cdtext* t) noexcept
{
    return t ? &cueify::cdTextOf(t)->toc : nullptr;
}

const cueify::CdTextInterval* intervalOf(cueify_cdtext* t, uint8_t track, uint8_t interval) noexcept
{
    const CdTextToc* toc = tocOf(t);
    if (!toc || interval == 0)
        return nullptr;
    const std::vector<cueify::CdTextInterval>& intervals = toc->intervals(track);
    return interval <= intervals.size() ? &intervals[interval - 1] : nullptr;
}

} // namespace

extern "C" {

cueify_cdtext* cueify_cdtext_new()
{
    return cueify::handleOf(new (std::nothrow) CdTextData());
}

void cueify_cdtext_free(cueify_cdtext* t)
{
    delete cueify::cdTextOf(t);
}

int cueify_cdtext_deserialize(cueify_cdtext* t, const uint8_t* const buffer, size_t size)
{
    if (!t || !buffer)
        return CUEIFY_ERR_BADARG;
    return guardedCall([&] { *cueify::cdTextOf(t) = cueify::readCdTextPacks(buffer, size); });
}

int cueify_cdtext_serialize(cueify_cdtext* t, uint8_t* buffer, size_t* size)
{
    if (!t || !size)
        return CUEIFY_ERR_BADARG;
    return guardedCall(
        [&] { cueify::copySerialized(cueify::writeCdTextPacks(*cueify::cdTextOf(t)), buffer, size); });
}

uint8_t cueify_cdtext_get_toc_first_track(cueify_cdtext* t)
{
    return t ? tocOf(t)->firstTrack : 0;
}

uint8_t cueify_cdtext_get_toc_last_track(cueify_cdtext* t)
{
    return t ? tocOf(t)->lastTrack : 0;
}

cueify_msf_t cueify_cdtext_get_toc_track_offset(cueify_cdtext* t, uint8_t track)
{
    const CdTextToc* toc = tocOf(t);
    if (!toc)
        return kNoAddress;
    if (track == CUEIFY_LEAD_OUT_TRACK)
        return toc->leadOut;
    return toc->holdsTrack(track) ? toc->start(track) : kNoAddress;
}

uint8_t cueify_cdtext_get_toc_num_track_intervals(cueify_cdtext* t, uint8_t track)
{
    const CdTextToc* toc = tocOf(t);
    return toc ? static_cast<uint8_t>(toc->intervals(track).size()) : 0;
}

cueify_msf_t cueify_cdtext_get_toc_track_interval_start(cueify_cdtext* t, uint8_t track, uint8_t interval)
{
    const cueify::CdTextInterval* found = intervalOf(t, track, interval);
    return found ? found->start : kNoAddress;
}

cueify_msf_t cueify_cdtext_get_toc_track_interval_end(cueify_cdtext* t, uint8_t track, uint8_t interval)
{
    const cueify::CdTextInterval* found = intervalOf(t, track, interval);
    return found ? found->end : kNoAddress;
}

uint8_t cueify_cdtext_get_num_blocks(cueify_cdtext* t)
{
    return t ? static_cast<uint8_t>(cueify::cdTextOf(t)->blockCount()) : 0;
}

cueify_cdtext_block* cueify_cdtext_get_block(cueify_cdtext* t, uint8_t block)
{
    return t ? cueify::handleOf(cueify::cdTextOf(t)->heldBlock(block)) : nullptr;
}

} // extern "C"
