#include "image/CueSheetScan.h"

#include "image/ImageError.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string>

namespace cueify {
namespace {

using Words = std::vector<std::string_view>;

// Keywords that take exactly one value, a word or a quoted text.
constexpr std::array<std::string_view, 15> kTextKeywords = {
    "CATALOG", "CDTEXTFILE", "TITLE",     "PERFORMER", "SONGWRITER", "COMPOSER", "ARRANGER", "MESSAGE",
    "DISC_ID", "GENRE",      "TOC_INFO1", "TOC_INFO2", "UPC_EAN",    "ISRC",     "SIZE_INFO"};
constexpr std::array<std::string_view, 4> kFlags = {"DCP", "4CH", "PRE", "SCMS"};
constexpr std::array<std::string_view, 3> kTrackModes = {"AUDIO", "MODE1/2352", "MODE2/2352"};

template <size_t N> bool isOneOf(std::string_view word, const std::array<std::string_view, N>& choices)
{
    return std::find(choices.begin(), choices.end(), word) != choices.end();
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// The end of a quoted text that starts at begin; a backslash escapes a quote inside.
size_t closingQuote(std::string_view line, size_t begin)
{
    for (size_t pos = begin + 1; pos < line.size(); ++pos) {
        if (line[pos] == '\\')
            ++pos;
        else if (line[pos] == '"')
            return pos;
    }
    throw ImageError("unclosed quote in CUE sheet");
}

Words wordsOf(std::string_view line)
{
    Words words;
    size_t pos = 0;
    while (pos < line.size()) {
        if (isBlank(line[pos])) {
            ++pos;
            continue;
        }
        size_t end = pos;
        if (line[pos] == '"')
            end = closingQuote(line, pos) + 1;
        else
            while (end < line.size() && !isBlank(line[end]))
                ++end;
        words.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

std::optional<unsigned> numberOf(std::string_view digits, size_t maxDigits)
{
    if (digits.empty() || digits.size() > maxDigits ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return static_cast<unsigned>(std::strtoul(std::string(digits).c_str(), nullptr, 10));
}

// mm:ss:ff with 75 frames a second, as INDEX, PREGAP and POSTGAP write it.
FrameCount timeOf(std::string_view text)
{
    const size_t first = text.find(':');
    const size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos)
        throw ImageError("malformed time in CUE sheet");
    const auto minutes = numberOf(text.substr(0, first), 3);
    const auto seconds = numberOf(text.substr(first + 1, second - first - 1), 2);
    const auto frames = numberOf(text.substr(second + 1), 2);
    if (!minutes || !seconds || !frames || *seconds >= 60 || *frames >= kFramesPerSecond)
        throw ImageError("malformed time in CUE sheet");
    return FrameCount{*minutes * kFramesPerMinute + *seconds * kFramesPerSecond + *frames};
}

void expectWords(const Words& words, size_t count)
{
    if (words.size() != count)
        throw ImageError("CUE sheet line " + std::string(words.front()) + " with the wrong number of values");
}

class SheetScanner
{
public:
    void scanLine(std::string_view line)
    {
        const Words words = wordsOf(line);
        if (words.empty())
            return;
        const std::string_view keyword = words.front();
        if (keyword == "REM")
            scanRemark(words);
        else if (isOneOf(keyword, kTextKeywords))
            expectWords(words, 2);
        else if (keyword == "FILE")
            startFile(words);
        else if (keyword == "TRACK")
            startTrack(words);
        else
            scanTrackLine(words);
    }

    std::vector<ScannedTrack> finish()
    {
        if (m_tracks.empty())
            throw ImageError("CUE sheet without tracks");
        expectTrackStart();
        if (m_tracksInSession == 0)
            throw ImageError("session without tracks");
        return std::move(m_tracks);
    }

private:
    void scanRemark(const Words& words)
    {
        if (words.size() >= 3 && words[1] == "SESSION")
            startSession(words[2]);
    }

    void scanTrackLine(const Words& words)
    {
        const std::string_view keyword = words.front();
        if (keyword == "INDEX") {
            expectWords(words, 3);
            const auto index = numberOf(words[1], 2);
            if (!index)
                throw ImageError("malformed INDEX number");
            m_trackHasStart = m_trackHasStart || *index == 1;
            timeOf(words[2]);
        } else if (keyword == "PREGAP") {
            expectWords(words, 2);
            currentTrack().silentPregap = timeOf(words[1]);
        } else if (keyword == "POSTGAP") {
            expectWords(words, 2);
            currentTrack().silentPostgap = timeOf(words[1]);
        } else if (keyword == "FLAGS") {
            if (words.size() < 2 ||
                !std::all_of(words.begin() + 1, words.end(), [](auto w) { return isOneOf(w, kFlags); }))
                throw ImageError("malformed FLAGS line");
        } else {
            throw ImageError("unknown CUE sheet keyword " + std::string(keyword));
        }
        currentTrack();
    }

    void startSession(std::string_view numberText)
    {
        const auto number = numberOf(numberText, 2);
        if (number && *number == m_session && m_tracksInSession == 0)
            return;
        if (!number || *number != m_session + 1u || m_tracksInSession == 0)
            throw ImageError("sessions must count up from 1 and hold tracks");
        m_session = static_cast<uint8_t>(*number);
        m_tracksInSession = 0;
    }

    void startFile(const Words& words)
    {
        expectWords(words, 3);
        if (words[2] == "BINARY")
            m_fileType = DataFileType::Binary;
        else if (words[2] == "WAVE")
            m_fileType = DataFileType::Audio;
        else
            throw ImageError("unsupported FILE type " + std::string(words[2]));
        m_fileLine = m_fileLines++;
    }

    void startTrack(const Words& words)
    {
        expectWords(words, 3);
        const auto number = numberOf(words[1], 2);
        if (!number || *number == 0)
            throw ImageError("malformed TRACK number");
        if (!isOneOf(words[2], kTrackModes))
            throw ImageError("unsupported track mode " + std::string(words[2]));
        if (!m_tracks.empty() && *number != m_tracks.back().number + 1u)
            throw ImageError("track numbers must count up by one");
        if (m_fileLines == 0)
            throw ImageError("TRACK before any FILE");
        if (!m_tracks.empty())
            expectTrackStart();
        m_trackHasStart = false;
        ScannedTrack track;
        track.number = static_cast<uint8_t>(*number);
        track.session = m_session;
        track.fileLine = m_fileLine;
        track.fileType = m_fileType;
        m_tracks.push_back(track);
        ++m_tracksInSession;
    }

    // libcue rejects a last track without lines, and leaks what it parsed when it does.
    void expectTrackStart() const
    {
        if (!m_trackHasStart)
            throw ImageError("track without INDEX 01");
    }

    ScannedTrack& currentTrack()
    {
        if (m_tracks.empty())
            throw ImageError("track line before any TRACK");
        return m_tracks.back();
    }

    std::vector<ScannedTrack> m_tracks;
    uint8_t m_session = 1;
    size_t m_tracksInSession = 0;
    size_t m_fileLines = 0;
    size_t m_fileLine = 0;
    DataFileType m_fileType = DataFileType::Binary;
    bool m_trackHasStart = false;
};

} // namespace

std::vector<ScannedTrack> scanCueSheet(std::string_view text)
{
    SheetScanner scanner;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        const size_t stop = end == std::string_view::npos ? text.size() : end;
        scanner.scanLine(text.substr(start, stop - start));
        start = stop + 1;
    }
    return scanner.finish();
}

} // namespace cueify
