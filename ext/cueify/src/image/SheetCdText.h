// The CD-Text that a disc written from a CUE sheet carries: the sheet's TITLE, PERFORMER,
// SONGWRITER, COMPOSER, ARRANGER, MESSAGE, DISC_ID, GENRE and UPC_EAN lines for the disc and its
// tracks, in one block.
#pragma once

#include "core/CdTextData.h"
#include "image/CueSheet.h"

namespace cueify {

// No block when the sheet has no CD-Text line. The block is in ISO 8859-1, the character set
// every CD-Text reader knows, and in English: a sheet does not say its language. A character
// outside ISO 8859-1 is kept as '?', as a disc written in that set would carry it. A track's
// text that repeats the text before it is kept as a TAB, the convention of CD-Text for
// "same as the previous track". ISRC lines belong to the sub-channel, not to CD-Text.
CdTextData cdTextOfSheet(const CueSheet& sheet);

} // namespace cueify
