#include "Vantor/Proc/Parsers/ParserCD/CDReader.h"

#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Core/Interfaces/Throw.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/CueifyWrapper.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/PlatformDrive.h"
#include "Vantor/Proc/Parsers/ParserCD/TrackSource/TrackPath.h"

#include <glog/logging.h>

#include <optional>
#include <string>

namespace Vantor {
namespace Proc {

namespace {

// A path the platform cannot resolve is not an error here: it is kept as the drive path, and
// opening it fails later unless it names a drive itself.
ioPath GetPlatformCDDrivePath(const ioPath& path)
{
    const std::optional<std::string> drive = FindPlatformDrive(path.absolute_path().utf8string());
    if (!drive) {
        LOG(WARNING) << "Can't get drive path for " << path;
        return path;
    }
    LOG(INFO) << "Path " << path << " is on the drive " << *drive;
    return ioPath(*drive);
}

bool IsTrackOnDisc(Index track, uint32_t trackCount) noexcept
{
    return track != 0 && track <= trackCount;
}

} // namespace

SP<ICDReader> CDReader::Create(const ioPath& path)
{
    // The reference taken here destroys the reader if Open throws.
    const SP<CDReader> reader(new CDReader(path));
    reader->Open();
    return reader;
}

bool CDReader::IsCDPath(const ioPath& path)
{
    try {
        const std::shared_ptr<cueify_device> device = OpenDevice(GetPlatformCDDrivePath(path));
        ReadToc(device);
        return true;
    } catch (...) {
        return false;
    }
}

CDReader::CDReader(const ioPath& path) : m_drivePath(GetPlatformCDDrivePath(path)) {}

CDReader::~CDReader() = default;

void CDReader::Open()
{
    try {
        std::shared_ptr<cueify_device> device = OpenDevice(m_drivePath);
        m_toc = ReadToc(device);
        // Every query is answered from the TOC; freeing the device closes the drive at once.
        device.reset();
    } catch (const Vantor::Exception& e) {
        VANTOR_THROW_TRANSLATED(CDReaderException, e);
    }
    m_trackCount =
        cueify_full_toc_get_session_last_track(m_toc.get(), cueify_full_toc_get_last_session(m_toc.get()));
}

avTime CDReader::GetDiskDuration() const
{
    // The lead-out address counts from 00:00:00, so the disc's two-second lead-in is included.
    return Msf2Sec(cueify_full_toc_get_session_leadout_address(
        m_toc.get(), cueify_full_toc_get_last_session(m_toc.get())));
}

Index CDReader::GetTrackCount() const
{
    return m_trackCount;
}

avTime CDReader::GetTrackDuration(Index track) const
{
    if (!IsTrackOnDisc(track, m_trackCount))
        VANTOR_THROW(CDReaderException, << ErrorDescription("Invalid track index"));
    return Msf2Sec(cueify_full_toc_get_track_length(m_toc.get(), static_cast<uint8_t>(track)));
}

ioPath CDReader::GetTrackPath(Index track) const
{
    if (!IsTrackOnDisc(track, m_trackCount))
        VANTOR_THROW(CDReaderException, << ErrorDescription("Invalid track index"));
    return MakeTrackPath(m_drivePath, track);
}

} // namespace Proc
} // namespace Vantor
