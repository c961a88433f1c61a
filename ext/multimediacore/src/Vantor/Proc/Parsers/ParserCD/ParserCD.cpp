// Opening one CD track: the input checks, the track path or .cda file, the drive that holds the
// disc, the data-mode check and the track's place on the disc.
#include "ParserCD.h"

#include "Private/CDAFile.h"
#include "Private/CueifyWrapper.h"

#include "Vantor/Conf/CDFormats.h"
#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Core/Interfaces/Throw.h"
#include "Vantor/Proc/ICDReader.h"

#include <boost/algorithm/string/case_conv.hpp>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <locale>
#include <optional>
#include <vector>

namespace {

using Vantor::ioPath;

constexpr char kSource[] = "ParserCD"; // a constant: loading the module runs no code of ours

constexpr uint32_t kLeadInSectors = 150; // absolute address of logical block 0 (00:02:00)
constexpr size_t kRawSectorSize = 2352;
constexpr Vantor::avTime kSectorDuration = 13333; // 1/75 s, the fraction dropped
constexpr size_t kDataModeOffset = 16;            // the first byte after the sync and header
constexpr int kUnreadableDataMode = 16;           // past the table of names: "Undefined data mode"

const char* const kDataModeNames[] = {"Undefined data mode", "Mode 1", "Mode 2", "Unknown data mode",
                                      "An error occurred when reading mode"};

std::string DataModeName(int mode)
{
    const int count = static_cast<int>(std::size(kDataModeNames));
    return kDataModeNames[mode >= 0 && mode < count ? mode : 0];
}

// Absolute sector number of a disc address, or sector count of a length.
uint32_t SectorValue(const cueify_msf_t& msf)
{
    return msf.min * 4500u + msf.sec * 75u + msf.frm;
}

std::string LowerCase(const std::string& text)
{
    return boost::algorithm::to_lower_copy(text, std::locale());
}

// The extension as a format name: lower case, without its dot ("" for a path without one).
std::string FormatNameOf(const ioPath& path)
{
    std::string name = LowerCase(path.extension().utf8string());
    name.erase(0, 1);
    return name;
}

bool IsCDFormat(const std::string& name)
{
    const std::vector<std::string>& formats = Vantor::Conf::GetCDFormatList();
    return std::find(formats.begin(), formats.end(), name) != formats.end();
}

struct TrackPathParts
{
    std::string drive;
    std::string track; // the decimal track number and whatever follows it up to the extension
};

// Cuts a track path (prefix, drive, track prefix, number, extension) into its parts.
// Empty when the track prefix or the extension does not occur.
std::optional<TrackPathParts> SplitTrackPath(const std::string& path, const std::string& extension)
{
    const std::string& pathPrefix = Vantor::Proc::ICDReader::CD_PATH_PREFIX;
    const std::string& trackPrefix = Vantor::Proc::ICDReader::CD_TRACK_PREFIX;
    const size_t trackStart = path.find(trackPrefix);
    const size_t extensionStart = path.find(extension);
    if (trackStart == std::string::npos || extensionStart == std::string::npos)
        return std::nullopt;
    const size_t driveStart = path.find(pathPrefix) + pathPrefix.size();
    const size_t numberStart = trackStart + trackPrefix.size();
    // A part whose end lies before its start runs to the end of the path.
    const auto part = [&path](size_t begin, size_t end) {
        return end < begin ? path.substr(begin) : path.substr(begin, end - begin);
    };
    return TrackPathParts{part(driveStart, trackStart), part(numberStart, extensionStart)};
}

bool IsValid(const CDAFile& file)
{
    return std::strcmp(file.riffId, "RIFF") == 0 && file.riffSize == 36 &&
           std::strcmp(file.formType, "CDDA") == 0 && std::strcmp(file.chunkId, "fmt ") == 0 &&
           file.chunkSize == 24 && file.version == 1;
}

// The first regular file of the directory, in listing order, whose extension is .cda in any case.
std::optional<ioPath> FirstCdaFile(const ioPath& directory)
{
    for (ioPath::iterator entry(directory), end; entry != end; ++entry) {
        if (entry->is_regular_file() && LowerCase(entry->extension().utf8string()) == ".cda")
            return *entry;
    }
    return std::nullopt;
}

// A drive that cannot be opened or whose first sector cannot be read holds no playable disc.
bool CanReadFirstSector(const char* drive)
{
    std::shared_ptr<cueify_device> device;
    try {
        device = OpenDevice(ioPath(drive));
    } catch (...) {
        return false;
    }
    std::vector<uint8_t> sector(kRawSectorSize, 0);
    return cueify_device_read_raw(device.get(), 0, sector.data()) == CUEIFY_OK;
}

// Drives are named by directories that hold the disc's .cda files; only the first one is compared.
bool HoldsDiscWithSerial(const char* drive, uint32_t serial)
{
    const ioPath directory(drive);
    if (directory.empty() || !directory.exists() || !directory.is_directory())
        return false;
    const std::optional<ioPath> cdaFile = FirstCdaFile(directory);
    if (!cdaFile || CDAFile(*cdaFile).serial != serial)
        return false;
    return CanReadFirstSector(drive);
}

struct FreeDeleter
{
    void operator()(void* block) const noexcept { std::free(block); }
};

// The drive that holds the disc with this serial number, empty when no drive does.
std::optional<std::string> FindDriveWithSerial(uint32_t serial)
{
    size_t count = 0;
    const std::unique_ptr<char*[], FreeDeleter> drives(cueify_device_get_all_devices(&count));
    for (size_t i = 0; drives && i < count; ++i) {
        if (drives[i] != nullptr && HoldsDiscWithSerial(drives[i], serial))
            return std::string(drives[i]);
    }
    return std::nullopt;
}

// The byte after a data sector's header names its mode; a sector that cannot be read names none.
// Throws Vantor::Exception when the track starts before logical block 0.
int ReadDatamode(const std::shared_ptr<cueify_device>& device, const std::shared_ptr<cueify_full_toc>& toc,
                 uint8_t track)
{
    const uint32_t start = SectorValue(cueify_full_toc_get_track_address(toc.get(), track));
    if (start < kLeadInSectors)
        VANTOR_THROW(Vantor::Exception, << Vantor::ErrorDescription("Invalid track address"));
    std::vector<uint8_t> sector(kRawSectorSize, 0);
    if (cueify_device_read_raw(device.get(), start - kLeadInSectors, sector.data()) != CUEIFY_OK)
        return kUnreadableDataMode;
    return sector[kDataModeOffset];
}

} // namespace

namespace Vantor {
namespace Proc {

SP<IParser> ParserCD::Create(const SP<Core::IDataInput>& input, const SettingsParser&,
                             const SP<ICoreTracker>& tracker)
{
    const SP<ParserCD> parser(new ParserCD(tracker));
    parser->Open(input);
    return parser;
}

ParserCD::ParserCD(const SP<ICoreTracker>& tracker) : m_tracker(tracker) {}

ParserCD::~ParserCD() = default;

void ParserCD::TrackException(const std::string& message, const std::string& source) const
{
    if (m_tracker)
        m_tracker->ReportException(ICoreTracker::CORE_EXCEPTION_FILE_OPEN, message, source);
}

// Every failure is thrown here, not in a helper, so that hosts see one throw site for the open.
void ParserCD::Open(const SP<Core::IDataInput>& input)
{
    if (input)
        m_path = input->GetPath();
    if (m_path.empty())
        VANTOR_THROW(ParserException, << ErrorTranscodingCode(TRANSCODING_ERROR_OPEN_INPUT)
                                      << ErrorDescription("Can't open file: empty filename"));

    const std::string path = m_path.utf8string();
    const std::string formatName = FormatNameOf(m_path);
    if (!IsCDFormat(formatName)) {
        TrackException("Can't open file: unsupported file extension " + formatName + " found", kSource);
        VANTOR_THROW(ParserException,
                     << ErrorTranscodingCode(TRANSCODING_ERROR_OPEN_INPUT) << ErrorFilename(path)
                     << ErrorDescription("Can't open file: unsupported file extension found"));
    }

    std::string drive;
    if (path.find(ICDReader::CD_PATH_PREFIX) != std::string::npos) {
        const std::optional<TrackPathParts> parts = SplitTrackPath(path, m_path.extension().utf8string());
        if (!parts)
            VANTOR_THROW(ParserException, << ErrorTranscodingCode(TRANSCODING_ERROR_OPEN_INPUT)
                                          << ErrorFilename(path)
                                          << ErrorDescription("Cannot parse filename from cdreader."));
        drive = parts->drive;
        m_track = static_cast<uint32_t>(std::stoi(parts->track));
    } else {
        const CDAFile cdaFile(m_path);
        if (!IsValid(cdaFile)) {
            TrackException("Invalid cda structure in file: " + path, kSource);
            VANTOR_THROW(ParserException, << ErrorTranscodingCode(TRANSCODING_ERROR_OPEN_INPUT)
                                          << ErrorFilename(path)
                                          << ErrorDescription("Invalid cda structure."));
        }
        const std::optional<std::string> found = FindDriveWithSerial(cdaFile.serial);
        if (!found)
            VANTOR_THROW(ParserException, << ErrorTranscodingCode(TRANSCODING_ERROR_OPEN_INPUT)
                                          << ErrorFilename(path)
                                          << ErrorDescription("Cannot find cdrom source for the track."));
        drive = *found;
        m_track = cdaFile.track;
    }

    try {
        const ioPath drivePath(drive);
        m_device = OpenDevice(drivePath);
        m_toc = ReadToc(m_device);
    } catch (const Vantor::Exception& caught) {
        VANTOR_THROW_TRANSLATED(CDReaderException, caught);
    }

    // The disc library numbers tracks with one byte.
    const uint8_t track = static_cast<uint8_t>(m_track & 0xFF);
    if (cueify_full_toc_get_track_control_flags(m_toc.get(), track) & CUEIFY_TOC_TRACK_IS_DATA) {
        const int dataMode = ReadDatamode(m_device, m_toc, track);
        if (dataMode != 0) {
            TrackException("Unsupported track data mode: " + DataModeName(dataMode), kSource);
            VANTOR_THROW(ParserException, << ErrorTranscodingCode(TRANSCODING_ERROR_OPEN_INPUT)
                                          << ErrorDescription("Unsupported track data mode."));
        }
    }

    const cueify_msf_t length = cueify_full_toc_get_track_length(m_toc.get(), track);
    m_duration = Msf2Sec(length);
    const uint32_t start = SectorValue(cueify_full_toc_get_track_address(m_toc.get(), track));
    if (start < kLeadInSectors)
        VANTOR_THROW(ParserException, << ErrorDescription("Invalid track address"));
    m_firstSector = start - kLeadInSectors;
    m_sectorCount = SectorValue(length);
    m_sectorDuration = kSectorDuration;

    CreateFormatCodec();
    CreateFormatFile();
}

} // namespace Proc
} // namespace Vantor
