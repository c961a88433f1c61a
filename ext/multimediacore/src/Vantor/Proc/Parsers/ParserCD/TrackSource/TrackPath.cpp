#include "Vantor/Proc/Parsers/ParserCD/TrackSource/TrackPath.h"

#include "Vantor/Conf/CDFormats.h"
#include "Vantor/Proc/ICDReader.h"

#include <boost/algorithm/string/case_conv.hpp>

#include <algorithm>
#include <locale>
#include <vector>

namespace Vantor {
namespace Proc {

ioPath MakeTrackPath(const ioPath& drive, Index track)
{
    return ioPath(ICDReader::CD_PATH_PREFIX) + drive + ioPath(ICDReader::CD_TRACK_PREFIX) +
           ioPath(std::to_string(track)) + ioPath(".cda");
}

bool IsTrackPath(const std::string& path)
{
    return path.find(ICDReader::CD_PATH_PREFIX) != std::string::npos;
}

std::optional<TrackLocation> ReadTrackPath(const ioPath& path)
{
    const std::string text = path.utf8string();
    const std::string& pathPrefix = ICDReader::CD_PATH_PREFIX;
    const std::string& trackPrefix = ICDReader::CD_TRACK_PREFIX;
    const size_t trackStart = text.find(trackPrefix);
    const size_t extensionStart = text.find(path.extension().utf8string());
    if (trackStart == std::string::npos || extensionStart == std::string::npos)
        return std::nullopt;
    const size_t driveStart = text.find(pathPrefix) + pathPrefix.size();
    const size_t numberStart = trackStart + trackPrefix.size();
    const auto part = [&text](size_t begin, size_t end) {
        return end < begin ? text.substr(begin) : text.substr(begin, end - begin);
    };
    return TrackLocation{part(driveStart, trackStart),
                         static_cast<uint32_t>(std::stoi(part(numberStart, extensionStart)))};
}

uint8_t DiscTrackNumber(uint32_t track) noexcept
{
    return static_cast<uint8_t>(track & 0xFF);
}

std::string FormatNameOf(const ioPath& path)
{
    std::string name = boost::algorithm::to_lower_copy(path.extension().utf8string(), std::locale());
    name.erase(0, 1);
    return name;
}

bool IsCDFormat(const std::string& name)
{
    const std::vector<std::string>& formats = Conf::GetCDFormatList();
    return std::find(formats.begin(), formats.end(), name) != formats.end();
}

} // namespace Proc
} // namespace Vantor
