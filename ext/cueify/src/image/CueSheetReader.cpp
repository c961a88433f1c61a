#include "image/CueSheetReader.h"

#include "core/Failure.h"

#include <cueify/constants.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <utility>

namespace cueify {
namespace {

struct Word
{
    std::string text;
    bool quoted = false;
};
using Words = std::vector<Word>;

struct ModeName
{
    std::string_view name;
    TrackMode mode;
};
constexpr std::array<ModeName, 10> kModes = {{{"AUDIO", TrackMode::Audio},
                                              {"CDG", TrackMode::Cdg},
                                              {"MODE1/2352", TrackMode::Mode1Raw},
                                              {"MODE1/2048", TrackMode::Mode1User},
                                              {"MODE2/2352", TrackMode::Mode2Raw},
                                              {"CDI/2352", TrackMode::Mode2Raw},
                                              {"MODE2/2336", TrackMode::Mode2Body},
                                              {"CDI/2336", TrackMode::Mode2Body},
                                              {"MODE2/2048", TrackMode::Mode2Form1},
                                              {"MODE2/2324", TrackMode::Mode2Form2}}};

struct FileTypeName
{
    std::string_view name;
    DataFileType type;
};
// WAVE stands for any audio file in practice: sheet writers use it for FLAC and the like.
constexpr std::array<FileTypeName, 10> kFileTypes = {{{"BINARY", DataFileType::Binary},
                                                      {"MOTOROLA", DataFileType::Motorola},
                                                      {"WAVE", DataFileType::Audio},
                                                      {"AIFF", DataFileType::Audio},
                                                      {"MP3", DataFileType::Audio},
                                                      {"FLAC", DataFileType::Audio},
                                                      {"WV", DataFileType::Audio},
                                                      {"APE", DataFileType::Audio},
                                                      {"TTA", DataFileType::Audio},
                                                      {"ALAC", DataFileType::Audio}}};

struct TextKeyword
{
    std::string_view name;
    CdTextField field;
};
constexpr std::array<TextKeyword, 9> kCdTextKeywords = {{{"TITLE", CdTextField::Title},
                                                         {"PERFORMER", CdTextField::Performer},
                                                         {"SONGWRITER", CdTextField::Songwriter},
                                                         {"COMPOSER", CdTextField::Composer},
                                                         {"ARRANGER", CdTextField::Arranger},
                                                         {"MESSAGE", CdTextField::Message},
                                                         {"DISC_ID", CdTextField::DiscId},
                                                         {"GENRE", CdTextField::Genre},
                                                         {"UPC_EAN", CdTextField::UpcIsrc}}};

// CD-Text packs of the lead-in that some writers copy into the sheet; nothing is made of them.
constexpr std::array<std::string_view, 3> kIgnoredKeywords = {"TOC_INFO1", "TOC_INFO2", "SIZE_INFO"};

// The remarks read into the model, by their key after REM.
bool isRemarkKey(std::string_view key)
{
    return key == "GENRE" || key == "DATE" || key == "COMMENT" || key == "DISCID";
}

std::string upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool allOf(std::string_view text, int (*isClass)(int))
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [isClass](unsigned char c) { return isClass(c) != 0; });
}

std::optional<unsigned> numberOf(std::string_view digits, size_t maxDigits)
{
    if (digits.size() > maxDigits || !allOf(digits, ::isdigit))
        return std::nullopt;
    unsigned value = 0;
    for (const char digit : digits)
        value = value * 10 + static_cast<unsigned>(digit - '0');
    return value;
}

bool isListed(std::string_view word, const std::array<std::string_view, 3>& words)
{
    return std::find(words.begin(), words.end(), word) != words.end();
}

template <class Entry, size_t N> const Entry* find(const std::array<Entry, N>& table, std::string_view name)
{
    const auto found =
        std::find_if(table.begin(), table.end(), [&](const Entry& e) { return e.name == name; });
    return found == table.end() ? nullptr : &*found;
}

class SheetReader
{
public:
    explicit SheetReader(std::string sheetName) : m_sheetName(std::move(sheetName)) {}

    void readLine(std::string_view line)
    {
        ++m_line;
        const Words words = wordsOf(line);
        if (words.empty())
            return;
        const std::string keyword = upper(words[0].text);
        if (words[0].quoted)
            fail("a quoted text where a keyword belongs");
        if (keyword == "REM")
            readRemark(line, words);
        else if (keyword == "FILE")
            readFile(words);
        else if (keyword == "TRACK")
            readTrack(words);
        else if (keyword == "INDEX")
            readIndex(words);
        else if (keyword == "PREGAP")
            readPregap(words);
        else if (keyword == "POSTGAP")
            readPostgap(words);
        else if (keyword == "FLAGS")
            readFlags(words);
        else if (keyword == "ISRC")
            readIsrc(words);
        else if (keyword == "CATALOG")
            readCatalog(words);
        else if (keyword == "CDTEXTFILE")
            m_sheet.cdTextFile = valueOf(words);
        else if (const TextKeyword* text = find(kCdTextKeywords, keyword))
            (m_sheet.tracks.empty() ? m_sheet.cdText : currentTrack().cdText)[text->field] = valueOf(words);
        else if (!isListed(keyword, kIgnoredKeywords))
            fail("unknown keyword " + words[0].text);
    }

    CueSheet finish()
    {
        if (m_sheet.tracks.empty())
            throw Failure(CUEIFY_ERR_NO_DEVICE, m_sheetName + ": no TRACK in the sheet");
        closeTrack();
        return std::move(m_sheet);
    }

private:
    [[noreturn]] void fail(const std::string& what) const { failAt(m_line, what); }

    [[noreturn]] void failAt(size_t line, const std::string& what) const
    {
        throw Failure(CUEIFY_ERR_NO_DEVICE, m_sheetName + ":" + std::to_string(line) + ": " + what);
    }

    // A quoted text runs to the next quote that no backslash escapes; failing that, to the last
    // quote on the line, so that a Windows folder name ending in a backslash stays whole.
    size_t closingQuote(std::string_view line, size_t open) const
    {
        for (size_t pos = open + 1; pos < line.size(); ++pos) {
            if (line[pos] == '"' && line[pos - 1] != '\\')
                return pos;
        }
        const size_t last = line.rfind('"');
        if (last == open)
            fail("a quote that is not closed");
        return last;
    }

    std::string unescaped(std::string_view quoted) const
    {
        std::string text;
        for (size_t pos = 0; pos < quoted.size(); ++pos) {
            if (quoted[pos] == '\\' && pos + 1 < quoted.size() && quoted[pos + 1] == '"')
                ++pos;
            text += quoted[pos];
        }
        return text;
    }

    Words wordsOf(std::string_view line) const
    {
        Words words;
        for (size_t pos = 0; pos < line.size();) {
            if (isBlank(line[pos])) {
                ++pos;
            } else if (line[pos] == '"') {
                const size_t close = closingQuote(line, pos);
                words.push_back({unescaped(line.substr(pos + 1, close - pos - 1)), true});
                pos = close + 1;
            } else {
                size_t end = pos;
                while (end < line.size() && !isBlank(line[end]))
                    ++end;
                words.push_back({std::string(line.substr(pos, end - pos)), false});
                pos = end;
            }
        }
        return words;
    }

    void expectValues(const Words& words, size_t count) const
    {
        if (words.size() != count + 1)
            fail(upper(words[0].text) + " takes " + std::to_string(count) +
                 (count == 1 ? " value" : " values") + ", not " + std::to_string(words.size() - 1));
    }

    // The one value of a text keyword: quoted, or the rest of the line as some writers leave it.
    std::string valueOf(const Words& words) const
    {
        if (words.size() < 2)
            fail(upper(words[0].text) + " without a value");
        if (words.size() == 2)
            return words[1].text;
        std::string joined = words[1].text;
        for (size_t i = 2; i < words.size(); ++i)
            joined += " " + words[i].text;
        return joined;
    }

    // mm:ss:ff with 75 frames a second, as INDEX, PREGAP and POSTGAP write it.
    FrameCount timeOf(const std::string& text) const
    {
        const size_t first = text.find(':');
        const size_t second = first == std::string::npos ? first : text.find(':', first + 1);
        std::optional<unsigned> minutes, seconds, frames;
        if (second != std::string::npos) {
            minutes = numberOf(std::string_view(text).substr(0, first), 3);
            seconds = numberOf(std::string_view(text).substr(first + 1, second - first - 1), 2);
            frames = numberOf(std::string_view(text).substr(second + 1), 2);
        }
        if (!minutes || !seconds || !frames || *seconds >= 60 || *frames >= kFramesPerSecond)
            fail("malformed time " + text + " (mm:ss:ff, with seconds below 60 and frames below 75)");
        return FrameCount{*minutes * kFramesPerMinute + *seconds * kFramesPerSecond + *frames};
    }

    CueTrack& currentTrack()
    {
        if (m_sheet.tracks.empty())
            fail("a track's line before the first TRACK");
        return m_sheet.tracks.back();
    }

    std::string trackName() { return "track " + std::to_string(currentTrack().number); }

    void readRemark(std::string_view line, const Words& words)
    {
        if (words.size() < 2)
            return;
        const std::string key = upper(words[1].text);
        if (key == "SESSION")
            readSession(words);
        else if (m_sheet.tracks.empty() && isRemarkKey(key) && words.size() >= 3)
            m_sheet.remarks[key] = words.size() == 3 ? words[2].text : remarkValue(line, words[1].text);
    }

    // Everything after the key, as written: a COMMENT keeps its inner spacing.
    static std::string remarkValue(std::string_view line, const std::string& key)
    {
        size_t start = line.find(key) + key.size();
        start = line.find_first_not_of(" \t", start);
        const size_t end = line.find_last_not_of(" \t");
        return std::string(line.substr(start, end + 1 - start));
    }

    void readSession(const Words& words)
    {
        const auto number = words.size() == 3 ? numberOf(words[2].text, 2) : std::nullopt;
        if (!number)
            fail("REM SESSION needs a session number");
        const bool sessionEmpty = m_sheet.tracks.empty() || m_sheet.tracks.back().session != m_session;
        if (*number == m_session && sessionEmpty)
            return;
        if (*number != m_session + 1u)
            fail("session " + std::to_string(*number) + " after session " + std::to_string(m_session));
        if (sessionEmpty)
            fail("session " + std::to_string(m_session) + " has no tracks");
        m_session = static_cast<uint8_t>(*number);
    }

    void readFile(const Words& words)
    {
        expectValues(words, 2);
        const FileTypeName* type = find(kFileTypes, upper(words[2].text));
        if (!type)
            fail("unknown FILE type " + words[2].text);
        if (words[1].text.empty())
            fail("FILE without a name");
        m_sheet.files.push_back({words[1].text, type->type, m_line});
        m_fileHasIndex = false;
    }

    void readTrack(const Words& words)
    {
        expectValues(words, 2);
        const auto number = numberOf(words[1].text, 2);
        if (!number || *number == 0)
            fail("malformed track number " + words[1].text + " (01 to 99)");
        const ModeName* mode = find(kModes, upper(words[2].text));
        if (!mode)
            fail("unknown track mode " + words[2].text);
        if (m_sheet.files.empty())
            fail("TRACK before the first FILE");
        if (!m_sheet.tracks.empty()) {
            closeTrack();
            const unsigned previous = m_sheet.tracks.back().number;
            if (*number != previous + 1)
                fail("track " + std::to_string(*number) + " after track " + std::to_string(previous) +
                     " (track numbers count up by one)");
        }
        CueTrack track;
        track.number = static_cast<uint8_t>(*number);
        track.mode = mode->mode;
        track.session = m_session;
        track.file = m_sheet.files.size() - 1;
        track.opensFile = !m_fileHasIndex;
        track.line = m_line;
        m_sheet.tracks.push_back(std::move(track));
        m_trackHasPostgap = false;
    }

    void readIndex(const Words& words)
    {
        expectValues(words, 2);
        CueTrack& track = currentTrack();
        const auto number = numberOf(words[1].text, 2);
        if (!number)
            fail("malformed index number " + words[1].text + " (00 to 99)");
        if (m_trackHasPostgap)
            fail("INDEX after POSTGAP in " + trackName());
        const FilePosition position{m_sheet.files.size() - 1, FileSector{timeOf(words[2].text).value}};
        if (!track.indices.empty() && *number != track.indices.back().number + 1u)
            fail("INDEX " + twoDigits(*number) + " after INDEX " + twoDigits(track.indices.back().number) +
                 " in " + trackName());
        if (track.indices.empty() && *number > 1)
            fail("INDEX " + twoDigits(*number) + " before INDEX 01 in " + trackName());
        if (m_lastIndex && m_lastIndex->file == position.file &&
            position.frame.value < m_lastIndex->frame.value)
            fail("INDEX " + twoDigits(*number) + " of " + trackName() + " at " + words[2].text +
                 " lies before the index above it");
        track.indices.push_back({static_cast<uint8_t>(*number), position, m_line});
        m_lastIndex = position;
        m_fileHasIndex = true;
    }

    static std::string twoDigits(unsigned number)
    {
        return (number < 10 ? "0" : "") + std::to_string(number);
    }

    void readPregap(const Words& words)
    {
        expectValues(words, 1);
        CueTrack& track = currentTrack();
        if (!track.indices.empty())
            fail("PREGAP after INDEX in " + trackName());
        track.pregap = timeOf(words[1].text);
    }

    void readPostgap(const Words& words)
    {
        expectValues(words, 1);
        CueTrack& track = currentTrack();
        if (track.indices.empty())
            fail("POSTGAP before INDEX 01 in " + trackName());
        track.postgap = timeOf(words[1].text);
        m_trackHasPostgap = true;
    }

    void readFlags(const Words& words)
    {
        CueTrack& track = currentTrack();
        if (words.size() < 2)
            fail("FLAGS without a flag");
        for (size_t i = 1; i < words.size(); ++i) {
            const std::string flag = upper(words[i].text);
            if (flag == "DCP")
                track.flags |= CUEIFY_TOC_TRACK_PERMITS_COPYING;
            else if (flag == "4CH")
                track.flags |= CUEIFY_TOC_TRACK_IS_QUADRAPHONIC;
            else if (flag == "PRE")
                track.flags |= CUEIFY_TOC_TRACK_HAS_PREEMPHASIS;
            else if (flag != "SCMS") // serial copy management lives in the sub-channel, not in CONTROL
                fail("unknown flag " + words[i].text);
        }
    }

    // CCOOOYYSSSSS: country and owner alphanumeric, year and serial digits.
    void readIsrc(const Words& words)
    {
        expectValues(words, 1);
        CueTrack& track = currentTrack();
        const std::string& isrc = words[1].text;
        const bool wellFormed = isrc.size() == 12 && allOf(std::string_view(isrc).substr(0, 5), ::isalnum) &&
                                allOf(std::string_view(isrc).substr(5), ::isdigit);
        if (!wellFormed)
            fail("malformed ISRC " + isrc + " (12 characters: 5 letters or digits, then 7 digits)");
        track.isrc = upper(isrc);
    }

    void readCatalog(const Words& words)
    {
        expectValues(words, 1);
        if (words[1].text.size() != 13 || !allOf(words[1].text, ::isdigit))
            fail("malformed CATALOG " + words[1].text + " (13 digits)");
        m_sheet.catalog = words[1].text;
    }

    void closeTrack()
    {
        const CueTrack& track = m_sheet.tracks.back();
        const bool hasStart = std::any_of(track.indices.begin(), track.indices.end(),
                                          [](const CueIndex& index) { return index.number == 1; });
        if (!hasStart)
            failAt(track.line, "track " + std::to_string(track.number) + " has no INDEX 01");
    }

    std::string m_sheetName;
    CueSheet m_sheet;
    size_t m_line = 0;
    uint8_t m_session = 1;
    bool m_fileHasIndex = false;
    bool m_trackHasPostgap = false;
    std::optional<FilePosition> m_lastIndex;
};

} // namespace

uint32_t storedSectorBytes(TrackMode mode) noexcept
{
    switch (mode) {
    case TrackMode::Cdg:
        return 2448;
    case TrackMode::Mode1User:
    case TrackMode::Mode2Form1:
        return 2048;
    case TrackMode::Mode2Body:
        return 2336;
    case TrackMode::Mode2Form2:
        return 2324;
    case TrackMode::Audio:
    case TrackMode::Mode1Raw:
    case TrackMode::Mode2Raw:
        break;
    }
    return kRawSectorBytes;
}

CueSheet readCueSheet(std::string_view text, const std::string& sheetName)
{
    SheetReader reader(sheetName);
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        reader.readLine(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return reader.finish();
}

} // namespace cueify
