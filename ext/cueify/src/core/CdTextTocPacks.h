// The CD-Text copy of the TOC as packs 0x88 (tracks' starts and the lead-out) and 0x89
// (intervals, one pack each).
#pragma once

#include "core/CdTextPack.h"
#include "core/CdTextToc.h"

#include <vector>

namespace cueify {

// The packs of block 0; none when the TOC is not set.
std::vector<CdTextPack> packToc(const CdTextToc& toc);

// Takes a 0x88 or 0x89 pack into toc. Throws Failure (CUEIFY_ERR_CORRUPTED) for track numbers
// outside 1..99, a first track after the last, or an interval numbered 0 or past its count.
void readTocPack(CdTextToc& toc, const CdTextPack& pack);

} // namespace cueify
