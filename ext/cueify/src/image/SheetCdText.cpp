#include "image/SheetCdText.h"

#include "core/CdTextCharset.h"

#include <cueify/cdtext.h>

#include <algorithm>
#include <optional>

namespace cueify {
namespace {

constexpr uint8_t kCharset = CUEIFY_CDTEXT_CHARSET_ISO8859_1;

struct KindOfField
{
    CdTextField field;
    CdTextKind kind;
};

constexpr KindOfField kTrackTexts[] = {
    {CdTextField::Title, CdTextKind::Title},           {CdTextField::Performer, CdTextKind::Performer},
    {CdTextField::Songwriter, CdTextKind::Songwriter}, {CdTextField::Composer, CdTextKind::Composer},
    {CdTextField::Arranger, CdTextKind::Arranger},     {CdTextField::Message, CdTextKind::Message},
    {CdTextField::UpcIsrc, CdTextKind::UpcIsrc}};

// The text as a disc written in the block's character set carries it.
std::optional<std::string> valueOf(const CdText& fields, CdTextField field)
{
    const auto found = fields.find(field);
    if (found == fields.end())
        return std::nullopt;
    return textToUtf8(utf8ToText(found->second, kCharset), kCharset);
}

bool hasCdText(const CueSheet& sheet)
{
    return !sheet.cdText.empty() || std::any_of(sheet.tracks.begin(), sheet.tracks.end(),
                                                [](const CueTrack& t) { return !t.cdText.empty(); });
}

// The disc's entry, then one per track; a track's text equal to the one before it becomes a TAB.
std::optional<CdTextEntries> entriesOf(const CueSheet& sheet, CdTextField field)
{
    std::vector<std::optional<std::string>> entries{valueOf(sheet.cdText, field)};
    std::optional<std::string> previous = entries.front();
    for (const CueTrack& track : sheet.tracks) {
        std::optional<std::string> value = valueOf(track.cdText, field);
        const bool repeats = value && previous && !value->empty() && *value == *previous;
        previous = value;
        entries.push_back(repeats ? std::optional<std::string>("\t") : value);
    }
    CdTextEntries result(std::move(entries));
    return result.hasText() ? std::optional<CdTextEntries>(std::move(result)) : std::nullopt;
}

CdTextGenre genreOf(const CueSheet& sheet)
{
    CdTextGenre genre;
    genre.name = valueOf(sheet.cdText, CdTextField::Genre);
    if (genre.name)
        genre.code = genreCodeOf(*genre.name).value_or(1); // 1: a genre outside the list
    return genre;
}

} // namespace

CdTextData cdTextOfSheet(const CueSheet& sheet)
{
    CdTextData cdText;
    if (sheet.tracks.empty() || !hasCdText(sheet))
        return cdText;
    CdTextBlock block;
    block.charset = kCharset;
    block.language = CUEIFY_CDTEXT_LANG_ENGLISH;
    block.firstTrack = sheet.tracks.front().number;
    block.lastTrack = sheet.tracks.back().number;
    for (const KindOfField& text : kTrackTexts)
        block.texts[static_cast<size_t>(text.kind)] = entriesOf(sheet, text.field);
    block.discId = valueOf(sheet.cdText, CdTextField::DiscId);
    block.genre = genreOf(sheet);
    cdText.blocks[0] = std::move(block);
    return cdText;
}

} // namespace cueify
