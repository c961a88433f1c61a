// Where the tracks of a disc image lie on the disc, and which file bytes or generated
// silence every sector of the disc comes from.
#pragma once

#include "core/Addressing.h"
#include "core/FullTocData.h"
#include "image/CueSheet.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace cueify {

// A run of disc sectors from one place: consecutive sectors of a data file, or silence.
struct ImageExtent
{
    Lba start;
    uint32_t sectors = 0;
    std::optional<size_t> file; // empty: generated silence
    uint64_t fileOffset = 0;    // byte of the file where the first sector is stored
    TrackMode mode = TrackMode::Audio;
};

struct IndexAddress
{
    uint8_t number = 0;
    AbsoluteFrame address;
};

struct ImageLayout
{
    FullTocData toc;
    std::vector<ImageExtent> extents;               // ascending, the gaps between sessions left out
    std::vector<std::vector<IndexAddress>> indices; // per track of the TOC, ascending from INDEX 00 or 01
    Lba end;                                        // the last session's lead-out
};

// The disc is the sheet's files one after the other, in full, with the generated gaps between
// them: each track runs from its start to the next track's start, whichever files that spans.
// A track starts at its first index, or at the start of the file it opens. PREGAP silence comes
// before the track, POSTGAP silence after it, and each later session begins one session gap
// after the lead-out of the one before. A file's sectors take the size of the track they belong
// to. fileBytes holds the size of each file. Throws Failure (CUEIFY_ERR_NO_DEVICE), in the sheet's words,
// when an index lies past the end of its file or the disc would outgrow what a TOC address can hold.
ImageLayout layOutImage(const CueSheet& sheet, const std::vector<uint64_t>& fileBytes,
                        const std::string& sheetName);

} // namespace cueify
