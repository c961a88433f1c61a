// One block of CD-Text: the text of a disc and its tracks in one language and character set.
#pragma once

#include "core/CdTextEntries.h"
#include "core/CdTextFlags.h"
#include "core/CdTextGenre.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace cueify {

// The kinds of text kept per track, in the order of their pack types.
enum class CdTextKind
{
    Title,      // 0x80
    Performer,  // 0x81
    Songwriter, // 0x82
    Composer,   // 0x83
    Arranger,   // 0x84
    Message,    // 0x85
    Private,    // 0x8D, closed information
    UpcIsrc     // 0x8E, the disc's UPC/EAN and the tracks' ISRCs
};
constexpr size_t kCdTextKinds = 8;

struct CdTextBlock
{
    uint8_t charset = 0;  // CUEIFY_CDTEXT_CHARSET_*
    uint8_t language = 0; // CUEIFY_CDTEXT_LANG_*
    uint8_t firstTrack = 0;
    uint8_t lastTrack = 0;
    CdTextFlags flags;
    std::array<std::optional<CdTextEntries>, kCdTextKinds> texts; // empty: no pack of that kind
    std::optional<std::string> discId;
    CdTextGenre genre;

    // The text of the disc (track 0) or of a track of the block, TABs resolved; null when the
    // block has no such text or the track lies outside it.
    const std::string* text(CdTextKind kind, uint8_t track) const noexcept;

    // Entries the block has for each kind: the disc's, then one per track.
    size_t entryCount() const noexcept;
};

} // namespace cueify
