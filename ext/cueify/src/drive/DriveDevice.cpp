#include "drive/DriveDevice.h"

#include "core/CdTextReader.h"
#include "core/FullTocReply.h"
#include "core/TocLookup.h"
#include "drive/MmcCommands.h"
#include "drive/SessionSplit.h"
#include "drive/TrackTable.h"

#include <cueify/constants.h>
#include <cueify/error.h>

#include <array>
#include <cstring>
#include <limits>

namespace cueify {

namespace {

// Frames carrying a catalogue number or an ISRC come about once in a hundred; a position is never
// farther back than this.
constexpr uint32_t kPositionSearchSectors = 8;
constexpr uint8_t kUnknownControl = 0x0F;

using Lock = std::lock_guard<std::mutex>;

// The track whose sectors hold the address: the last one starting at or before it, within its
// session's lead-out. Addresses before the first track are its pregap. Null outside the disc
// and in the gap between sessions.
const TocTrack* trackHolding(const FullTocData& toc, AbsoluteFrame address)
{
    const TocTrack* holder = toc.tracks.empty() ? nullptr : &toc.tracks.front();
    for (const TocTrack& track : toc.tracks)
        if (track.start.value <= address.value)
            holder = &track;
    const TocSession* session = holder != nullptr ? findSession(toc, holder->session) : nullptr;
    return session != nullptr && address.value < session->leadOut.value ? holder : nullptr;
}

bool isBeyondAnyDisc(Lba lba)
{
    return lba.value > std::numeric_limits<uint32_t>::max() - kLeadInFrames;
}

} // namespace

DriveDevice::DriveDevice(CdioHandle cdio, FullTocData toc) noexcept
    : m_cdio(std::move(cdio)), m_toc(std::move(toc))
{
}

int DriveDevice::readFullToc(FullTocData& toc)
{
    Lock lock(m_mutex);
    int result = readTocFromDrive(toc);
    if (result == CUEIFY_OK)
        m_toc = toc;
    return result;
}

int DriveDevice::readTocFromDrive(FullTocData& toc)
{
    // The ordinary TOC (format 0), always binary: it settles a full TOC that could be BCD, and
    // stands in for a full TOC the drive refuses.
    std::optional<FullTocData> table = readTrackTable(m_cdio.get());
    std::vector<uint8_t> reply;
    if (readFullTocReply(m_cdio.get(), reply) == CUEIFY_OK)
        return parseFullTocReply(reply.data(), reply.size(), toc, table ? &*table : nullptr);
    std::optional<LastSessionStart> lastSession = table ? readLastSessionStart(m_cdio.get()) : std::nullopt;
    if (lastSession)
        splitAtLastSession(*table, *lastSession);
    toc = table ? std::move(*table) : FullTocData{};
    return table ? CUEIFY_OK : CUEIFY_ERR_INTERNAL;
}

const TocTrack* DriveDevice::readableTrack(Lba lba, const uint8_t* buffer) const
{
    return buffer != nullptr && !isBeyondAnyDisc(lba) ? trackHolding(m_toc, toAbsolute(lba)) : nullptr;
}

int DriveDevice::readRawSector(Lba lba, uint8_t* buffer)
{
    Lock lock(m_mutex);
    const TocTrack* track = readableTrack(lba, buffer);
    if (track == nullptr)
        return CUEIFY_ERR_BADARG;
    // The caller's buffer is written only once every byte has arrived.
    std::array<uint8_t, kRawSectorBytes> sector{};
    int result = (track->control & CUEIFY_TOC_TRACK_IS_DATA) != 0
                     ? readRawDataSector(m_cdio.get(), lba, sector.data())
                     : readRawAudioSector(m_cdio.get(), lba, sector.data());
    if (result == CUEIFY_OK)
        std::memcpy(buffer, sector.data(), sector.size());
    return result;
}

bool DriveDevice::offersC2Pointers()
{
    Lock lock(m_mutex);
    if (!m_offersC2Pointers)
        m_offersC2Pointers = cueify::offersC2Pointers(m_cdio.get());
    return *m_offersC2Pointers;
}

int DriveDevice::readRawSectorWithC2(Lba lba, uint8_t* buffer, uint8_t* c2Pointers)
{
    if (!offersC2Pointers())
        return Device::readRawSectorWithC2(lba, buffer, c2Pointers);
    Lock lock(m_mutex);
    const TocTrack* track = readableTrack(lba, buffer);
    if (track == nullptr || c2Pointers == nullptr)
        return CUEIFY_ERR_BADARG;
    std::array<uint8_t, kRawSectorBytes + kC2PointerBytes> reply{};
    int result = cueify::readRawSectorWithC2(m_cdio.get(), lba,
                                             (track->control & CUEIFY_TOC_TRACK_IS_DATA) != 0, reply.data());
    if (result == CUEIFY_OK) {
        std::memcpy(buffer, reply.data(), kRawSectorBytes);
        std::memcpy(c2Pointers, reply.data() + kRawSectorBytes, kC2PointerBytes);
    }
    return result;
}

const TocTrack& DriveDevice::tocTrack(uint8_t track) const
{
    const TocTrack* found = findTrack(m_toc, track);
    if (!found)
        throw Failure(CUEIFY_ERR_INTERNAL, "the disc has no track " + std::to_string(track));
    return *found;
}

QPosition DriveDevice::positionAt(Lba lba)
{
    for (uint32_t back = 0; back <= kPositionSearchSectors && back <= lba.value; ++back) {
        QFrame frame;
        if (readQFrame(m_cdio.get(), Lba{lba.value - back}, frame) != CUEIFY_OK)
            break;
        if (frame.adr == CUEIFY_SUB_Q_POSITION && frame.track != 0)
            return {frame.track, frame.index};
    }
    throw Failure(CUEIFY_ERR_INTERNAL,
                  "the drive gives no position in the Q sub-channel at LBA " + std::to_string(lba.value));
}

std::string DriveDevice::readMcn()
{
    Lock lock(m_mutex);
    std::string mcn = readMediaCatalogNumber(m_cdio.get());
    if (mcn.empty())
        throw Failure(CUEIFY_NO_DATA, "the disc has no media catalogue number");
    return mcn;
}

std::string DriveDevice::readIsrc(uint8_t track)
{
    Lock lock(m_mutex);
    tocTrack(track);
    std::string isrc = readTrackIsrc(m_cdio.get(), track);
    if (isrc.empty())
        throw Failure(CUEIFY_NO_DATA, "track " + std::to_string(track) + " has no ISRC");
    return isrc;
}

std::vector<IndexMark> DriveDevice::readTrackIndices(uint8_t track)
{
    Lock lock(m_mutex);
    const TocTrack& entry = tocTrack(track);
    const Lba start = toLba(entry.start);
    const Lba end = toLba(AbsoluteFrame{entry.start.value + trackLength(m_toc, entry).value});
    std::vector<IndexMark> marks;
    for (const FoundIndex& index :
         findTrackIndices(track, start, end, [this](Lba lba) { return positionAt(lba); }))
        marks.push_back({index.number, toAbsolute(index.lba)});
    return marks;
}

uint8_t DriveDevice::readTrackControlFlags(uint8_t track)
{
    Lock lock(m_mutex);
    QFrame frame;
    const int result = readQFrame(m_cdio.get(), toLba(tocTrack(track).start), frame);
    return result == CUEIFY_OK ? frame.control : kUnknownControl;
}

CdTextData DriveDevice::readCdText()
{
    Lock lock(m_mutex);
    std::vector<uint8_t> reply;
    if (readCdTextReply(m_cdio.get(), reply) != CUEIFY_OK)
        throw Failure(CUEIFY_ERR_INTERNAL, "the drive reports no CD-Text");
    return readCdTextPacks(reply.data(), reply.size());
}

} // namespace cueify
