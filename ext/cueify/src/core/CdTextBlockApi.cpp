// The CD-Text block part of the C API: plain reads of a CdTextBlock that never fail.
#include "core/CdTextHandle.h"

#include <cueify/cdtext.h>

using cueify::CdTextBlock;
using cueify::CdTextKind;

namespace {

const char* textOf(cueify_cdtext_block* b, CdTextKind kind, uint8_t track) noexcept
{
    const std::string* text = b ? cueify::cdTextBlockOf(b)->text(kind, track) : nullptr;
    return text ? text->c_str() : nullptr;
}

template <class Field> uint8_t fieldOf(cueify_cdtext_block* b, Field field) noexcept
{
    return b ? static_cast<uint8_t>(field(*cueify::cdTextBlockOf(b))) : 0;
}

} // namespace

extern "C" {

uint8_t cueify_cdtext_block_get_first_track(cueify_cdtext_block* b)
{
    return fieldOf(b, [](const CdTextBlock& block) { return block.firstTrack; });
}

uint8_t cueify_cdtext_block_get_last_track(cueify_cdtext_block* b)
{
    return fieldOf(b, [](const CdTextBlock& block) { return block.lastTrack; });
}

uint8_t cueify_cdtext_block_get_charset(cueify_cdtext_block* b)
{
    return fieldOf(b, [](const CdTextBlock& block) { return block.charset; });
}

uint8_t cueify_cdtext_block_get_language(cueify_cdtext_block* b)
{
    return fieldOf(b, [](const CdTextBlock& block) { return block.language; });
}

uint8_t cueify_cdtext_block_has_program_data(cueify_cdtext_block* b)
{
    return fieldOf(b, [](const CdTextBlock& block) { return block.flags.programData; });
}

uint8_t cueify_cdtext_block_has_program_copyright(cueify_cdtext_block* b)
{
    return fieldOf(b, [](const CdTextBlock& block) { return block.flags.programCopyright; });
}

uint8_t cueify_cdtext_block_has_message_copyright(cueify_cdtext_block* b)
{
    return fieldOf(b, [](const CdTextBlock& block) { return block.flags.messageCopyright; });
}

uint8_t cueify_cdtext_block_has_name_copyright(cueify_cdtext_block* b)
{
    return fieldOf(b, [](const CdTextBlock& block) { return block.flags.nameCopyright; });
}

uint8_t cueify_cdtext_block_has_title_copyright(cueify_cdtext_block* b)
{
    return fieldOf(b, [](const CdTextBlock& block) { return block.flags.titleCopyright; });
}

const char* cueify_cdtext_block_get_title(cueify_cdtext_block* b, uint8_t track)
{
    return textOf(b, CdTextKind::Title, track);
}

const char* cueify_cdtext_block_get_performer(cueify_cdtext_block* b, uint8_t track)
{
    return textOf(b, CdTextKind::Performer, track);
}

const char* cueify_cdtext_block_get_songwriter(cueify_cdtext_block* b, uint8_t track)
{
    return textOf(b, CdTextKind::Songwriter, track);
}

const char* cueify_cdtext_block_get_composer(cueify_cdtext_block* b, uint8_t track)
{
    return textOf(b, CdTextKind::Composer, track);
}

const char* cueify_cdtext_block_get_arranger(cueify_cdtext_block* b, uint8_t track)
{
    return textOf(b, CdTextKind::Arranger, track);
}

const char* cueify_cdtext_block_get_message(cueify_cdtext_block* b, uint8_t track)
{
    return textOf(b, CdTextKind::Message, track);
}

const char* cueify_cdtext_block_get_private(cueify_cdtext_block* b, uint8_t track)
{
    return textOf(b, CdTextKind::Private, track);
}

const char* cueify_cdtext_block_get_upc_isrc(cueify_cdtext_block* b, uint8_t track)
{
    return textOf(b, CdTextKind::UpcIsrc, track);
}

const char* cueify_cdtext_block_get_discid(cueify_cdtext_block* b)
{
    return b && cueify::cdTextBlockOf(b)->discId ? cueify::cdTextBlockOf(b)->discId->c_str() : nullptr;
}

uint16_t cueify_cdtext_block_get_genre_code(cueify_cdtext_block* b)
{
    return b ? cueify::cdTextBlockOf(b)->genre.code : 0;
}

const char* cueify_cdtext_block_get_genre_name(cueify_cdtext_block* b)
{
    const CdTextBlock* block = b ? cueify::cdTextBlockOf(b) : nullptr;
    return block && block->genre.name ? block->genre.name->c_str() : nullptr;
}

} // extern "C"
