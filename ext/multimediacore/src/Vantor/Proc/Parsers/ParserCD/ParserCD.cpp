// Opening one CD track: the input checks, the track path or .cda file, the drive that holds the
// disc, the data-mode check and the track's place on the disc.
#include "ParserCD.h"

#include "Private/CueifyWrapper.h"
#include "TrackSource/CDAFile.h"
#include "TrackSource/DriveSearch.h"
#include "TrackSource/TrackPath.h"

#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Core/Interfaces/Throw.h"

#include <discgeometry/DiscGeometry.h>

#include <iterator>
#include <optional>
#include <vector>

namespace {

constexpr char kSource[] = "ParserCD"; // a constant: loading the module runs no code of ours

using discgeometry::kLeadInFrames;                // absolute address of logical block 0 (00:02:00)
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
    return discgeometry::framesOf({msf.min, msf.sec, msf.frm});
}

// The byte after a data sector's header names its mode; a sector that cannot be read names none.
// Throws Vantor::Exception when the track starts before logical block 0.
int ReadDatamode(const std::shared_ptr<cueify_device>& device, const std::shared_ptr<cueify_full_toc>& toc,
                 uint8_t track)
{
    const uint32_t start = SectorValue(cueify_full_toc_get_track_address(toc.get(), track));
    if (start < kLeadInFrames)
        VANTOR_THROW(Vantor::Exception, << Vantor::ErrorDescription("Invalid track address"));
    std::vector<uint8_t> sector(discgeometry::kRawSectorBytes, 0);
    if (cueify_device_read_raw(device.get(), start - kLeadInFrames, sector.data()) != CUEIFY_OK)
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

// The parser's own refusals are thrown here, and the wrapper's failures to open the drive or read
// its TOC are caught and thrown again here as CDReaderException, so that hosts see this function as
// their throw site. The helpers' other failures pass out as they were thrown: the data-mode read's
// Vantor::Exception for a track before logical block 0, std::stoi's for a track path's number, and
// the host's file-input errors while a .cda file is read or the drives are searched.
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
    if (IsTrackPath(path)) {
        const std::optional<TrackLocation> location = ReadTrackPath(m_path);
        if (!location)
            VANTOR_THROW(ParserException, << ErrorTranscodingCode(TRANSCODING_ERROR_OPEN_INPUT)
                                          << ErrorFilename(path)
                                          << ErrorDescription("Cannot parse filename from cdreader."));
        drive = location->drive;
        m_track = location->track;
    } else {
        const CDAFile cdaFile(m_path);
        if (!IsValidCDAFile(cdaFile)) {
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

    const uint8_t track = DiscTrackNumber(m_track);
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
    if (start < kLeadInFrames)
        VANTOR_THROW(ParserException, << ErrorDescription("Invalid track address"));
    m_firstSector = start - kLeadInFrames;
    m_sectorCount = SectorValue(length);
    m_sectorDuration = kSectorDuration;

    CreateFormatCodec();
    CreateFormatFile();
}

} // namespace Proc
} // namespace Vantor
