#include "drive/DriveDevice.h"

#include "core/CdTextReader.h"
#include "core/TocLookup.h"
#include "drive/MmcCommands.h"

#include <cueify/constants.h>
#include <cueify/error.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <utility>

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

bool isData(const TocTrack& track)
{
    return (track.control & CUEIFY_TOC_TRACK_IS_DATA) != 0;
}

// Where the sectors of the track holding the address end: the next track or the session's lead-out.
AbsoluteFrame endOfTrack(const FullTocData& toc, const TocTrack& track)
{
    const TocSession* session = findSession(toc, track.session);
    uint32_t end = session != nullptr ? session->leadOut.value : track.start.value;
    for (const TocTrack& other : toc.tracks)
        if (other.start.value > track.start.value && other.start.value < end)
            end = other.start.value;
    return AbsoluteFrame{end};
}

bool isBeyondAnyDisc(Lba lba)
{
    return lba.value > std::numeric_limits<uint32_t>::max() - kLeadInFrames;
}

// Why a read that readableTrack refused must not go to the drive.
Failure refusedRead(Lba lba, const uint8_t* buffer)
{
    if (buffer == nullptr)
        return Failure(CUEIFY_ERR_BADARG, "no buffer for the sector");
    return Failure(CUEIFY_ERR_BADARG, "LBA " + std::to_string(lba.value) + " lies outside the disc's tracks");
}

Failure unreadable(Lba lba)
{
    return Failure(CUEIFY_ERR_INTERNAL,
                   "the drive cannot read the sector at LBA " + std::to_string(lba.value));
}

} // namespace

DriveDevice::DriveDevice(std::shared_ptr<DriveConnection> drive)
    : m_drive(std::move(drive)), m_readAheadSectors(std::max<uint32_t>(m_drive->readAheadSectors, 1))
{
    Lock lock(m_drive->mutex);
    m_toc = m_drive->toc;
    m_tocReadAtOpen = m_drive->tocRead;
}

FullTocData DriveDevice::readFullToc()
{
    Lock lock(m_drive->mutex);
    // The TOC the drive gave when it was opened, or since: asking the drive again would only repeat it.
    if (std::exchange(m_tocReadAtOpen, false))
        return m_toc;
    // Another TOC may mean another disc.
    m_readAhead.drop();
    m_singleSectorsEnd = Lba{0};
    std::optional<FullTocData> table;
    m_toc = readDriveToc(m_drive->cdio.get(), table);
    m_drive->toc = m_toc;
    m_drive->tocRead = true;
    return m_toc;
}

const TocTrack* DriveDevice::readableTrack(Lba lba, const uint8_t* buffer) const
{
    return buffer != nullptr && !isBeyondAnyDisc(lba) ? trackHolding(m_toc, toAbsolute(lba)) : nullptr;
}

void DriveDevice::readRawSector(Lba lba, uint8_t* buffer)
{
    Lock lock(m_drive->mutex);
    const TocTrack* track = readableTrack(lba, buffer);
    if (track == nullptr)
        throw refusedRead(lba, buffer);
    if (!m_readAhead.take(lba, buffer))
        readFromDrive(lba, *track, buffer);
}

void DriveDevice::readFromDrive(Lba lba, const TocTrack& track, uint8_t* buffer)
{
    const bool afterFailedBatch =
        lba.value == m_nextSingleSector.value && lba.value < m_singleSectorsEnd.value;
    const uint32_t left = endOfTrack(m_toc, track).value - toAbsolute(lba).value;
    const uint32_t count = afterFailedBatch ? 1 : std::min(m_readAheadSectors, left);
    if (count > 1) {
        uint8_t* batch = m_readAhead.prepare(lba, count);
        if (readRawSectors(m_drive->cdio.get(), lba, count, isData(track), batch)) {
            m_readAhead.filled();
            if (!m_readAhead.take(lba, buffer))
                throw unreadable(lba);
            return;
        }
        m_readAhead.drop();
        m_singleSectorsEnd = Lba{lba.value + count};
    }
    m_nextSingleSector = Lba{lba.value + 1};
    if (!readOneSector(lba, track, buffer))
        throw unreadable(lba);
}

bool DriveDevice::readOneSector(Lba lba, const TocTrack& track, uint8_t* buffer)
{
    // The caller's buffer is written only once every byte has arrived.
    std::array<uint8_t, kRawSectorBytes> sector{};
    const bool read = isData(track) ? readRawDataSector(m_drive->cdio.get(), lba, sector.data())
                                    : readRawAudioSector(m_drive->cdio.get(), lba, sector.data());
    if (read)
        std::memcpy(buffer, sector.data(), sector.size());
    return read;
}

void DriveDevice::readRawSectorUncached(Lba lba, uint8_t* buffer)
{
    Lock lock(m_drive->mutex);
    const TocTrack* track = readableTrack(lba, buffer);
    if (track == nullptr)
        throw refusedRead(lba, buffer);
    moveCacheAwayFrom(lba);
    if (!readOneSector(lba, *track, buffer))
        throw unreadable(lba);
}

void DriveDevice::moveCacheAwayFrom(Lba lba)
{
    const Lba away = farthestSectorFrom(lba);
    std::array<uint8_t, kRawSectorBytes> discarded{};
    // A far sector that cannot be read has moved the drive away all the same.
    if (const TocTrack* awayTrack = readableTrack(away, discarded.data()))
        readOneSector(away, *awayTrack, discarded.data());
}

Lba DriveDevice::farthestSectorFrom(Lba lba) const
{
    uint32_t last = 0;
    for (const TocSession& session : m_toc.sessions)
        last = std::max(last, session.leadOut.value);
    const Lba lastSector{last > kLeadInFrames ? last - kLeadInFrames - 1 : 0};
    return lba.value > lastSector.value - lba.value ? Lba{0} : lastSector;
}

void DriveDevice::setReadSpeed(unsigned speed)
{
    Lock lock(m_drive->mutex);
    if (!cueify::setReadSpeed(m_drive->cdio.get(), speed))
        throw Failure(CUEIFY_ERR_INTERNAL, "the drive refuses SET CD SPEED");
}

bool DriveDevice::offersC2Pointers()
{
    Lock lock(m_drive->mutex);
    if (!m_offersC2Pointers)
        m_offersC2Pointers = cueify::offersC2Pointers(m_drive->cdio.get());
    return *m_offersC2Pointers;
}

void DriveDevice::readRawSectorUncachedWithC2(Lba lba, uint8_t* buffer, uint8_t* c2Pointers)
{
    if (!offersC2Pointers())
        throw Failure(CUEIFY_NO_DATA, "the drive does not report C2 error pointers");
    Lock lock(m_drive->mutex);
    const TocTrack* track = readableTrack(lba, buffer);
    if (track == nullptr)
        throw refusedRead(lba, buffer);
    if (c2Pointers == nullptr)
        throw Failure(CUEIFY_ERR_BADARG, "no buffer for the C2 error pointers");
    moveCacheAwayFrom(lba);
    std::array<uint8_t, kRawSectorBytes + kC2PointerBytes> reply{};
    if (!cueify::readRawSectorWithC2(m_drive->cdio.get(), lba, isData(*track), reply.data()))
        throw unreadable(lba);
    std::memcpy(buffer, reply.data(), kRawSectorBytes);
    std::memcpy(c2Pointers, reply.data() + kRawSectorBytes, kC2PointerBytes);
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
        const std::optional<QFrame> frame = readQFrame(m_drive->cdio.get(), Lba{lba.value - back});
        if (!frame)
            break;
        if (frame->adr == CUEIFY_SUB_Q_POSITION && frame->track != 0)
            return {frame->track, frame->index};
    }
    throw Failure(CUEIFY_ERR_INTERNAL,
                  "the drive gives no position in the Q sub-channel at LBA " + std::to_string(lba.value));
}

std::string DriveDevice::readMcn()
{
    Lock lock(m_drive->mutex);
    std::string mcn = readMediaCatalogNumber(m_drive->cdio.get());
    if (mcn.empty())
        throw Failure(CUEIFY_NO_DATA, "the disc has no media catalogue number");
    return mcn;
}

std::string DriveDevice::readIsrc(uint8_t track)
{
    Lock lock(m_drive->mutex);
    tocTrack(track);
    std::string isrc = readTrackIsrc(m_drive->cdio.get(), track);
    if (isrc.empty())
        throw Failure(CUEIFY_NO_DATA, "track " + std::to_string(track) + " has no ISRC");
    return isrc;
}

std::vector<IndexMark> DriveDevice::readTrackIndices(uint8_t track)
{
    Lock lock(m_drive->mutex);
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
    Lock lock(m_drive->mutex);
    const std::optional<QFrame> frame = readQFrame(m_drive->cdio.get(), toLba(tocTrack(track).start));
    return frame ? frame->control : kUnknownControl;
}

CdTextData DriveDevice::readCdText()
{
    Lock lock(m_drive->mutex);
    const std::vector<uint8_t> reply = readCdTextReply(m_drive->cdio.get());
    return readCdTextPacks(reply.data(), reply.size());
}

} // namespace cueify
