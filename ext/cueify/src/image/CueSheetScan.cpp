#include "image/CueSheetScan.h"

#include "image/ImageError.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace cueify {
namespace {

std::vector<std::string_view> wordsOf(std::string_view line)
{
    std::vector<std::string_view> words;
    size_t pos = 0;
    while (true) {
        pos = line.find_first_not_of(" \t\r", pos);
        if (pos == std::string_view::npos)
            return words;
        const size_t end = line.find_first_of(" \t\r", pos);
        words.push_back(line.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
        pos = end;
    }
}

std::optional<unsigned> numberOf(std::string_view digits, size_t maxDigits)
{
    if (digits.empty() || digits.size() > maxDigits || digits.find_first_not_of("0123456789") != std::string_view::npos)
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

class SheetScanner
{
public:
    void scanLine(std::string_view line)
    {
        const std::vector<std::string_view> words = wordsOf(line);
        if (words.empty())
            return;
        const std::string_view keyword = words.front();
        if (keyword == "REM" && words.size() >= 3 && words[1] == "SESSION")
            startSession(words[2]);
        else if (keyword == "FILE")
            startFile(words);
        else if (keyword == "TRACK")
            startTrack(words);
        else if (keyword == "PREGAP")
            currentTrack("PREGAP").silentPregap = timeOf(lastWord(words));
        else if (keyword == "POSTGAP")
            currentTrack("POSTGAP").silentPostgap = timeOf(lastWord(words));
        else if (keyword == "INDEX")
            timeOf(lastWord(words));
    }

    std::vector<ScannedTrack> finish()
    {
        if (m_tracks.empty())
            throw ImageError("CUE sheet without tracks");
        if (m_tracksInSession == 0)
            throw ImageError("session without tracks");
        return std::move(m_tracks);
    }

private:
    static std::string_view lastWord(const std::vector<std::string_view>& words)
    {
        if (words.size() < 2)
            throw ImageError("CUE sheet line without its value");
        return words.back();
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

    void startFile(const std::vector<std::string_view>& words)
    {
        if (words.size() < 3)
            throw ImageError("FILE line without name or type");
        if (words.back() == "BINARY")
            m_fileType = DataFileType::Binary;
        else if (words.back() == "WAVE")
            m_fileType = DataFileType::Wave;
        else
            throw ImageError("unsupported FILE type");
        m_fileLine = m_fileLines++;
    }

    void startTrack(const std::vector<std::string_view>& words)
    {
        const auto number = words.size() >= 3 ? numberOf(words[1], 2) : std::nullopt;
        if (!number || *number == 0)
            throw ImageError("malformed TRACK line");
        if (!m_tracks.empty() && *number != m_tracks.back().number + 1u)
            throw ImageError("track numbers must count up by one");
        if (m_fileLines == 0)
            throw ImageError("TRACK before any FILE");
        ScannedTrack track;
        track.number = static_cast<uint8_t>(*number);
        track.session = m_session;
        track.fileLine = m_fileLine;
        track.fileType = m_fileType;
        m_tracks.push_back(track);
        ++m_tracksInSession;
    }

    ScannedTrack& currentTrack(const char* keyword)
    {
        if (m_tracks.empty())
            throw ImageError(std::string(keyword) + " before any TRACK");
        return m_tracks.back();
    }

    std::vector<ScannedTrack> m_tracks;
    uint8_t m_session = 1;
    size_t m_tracksInSession = 0;
    size_t m_fileLines = 0;
    size_t m_fileLine = 0;
    DataFileType m_fileType = DataFileType::Binary;
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
