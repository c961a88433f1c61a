// A physical drive opened through libcdio.
#pragma once

#include "device/Device.h"
#include "drive/DriveConnection.h"
#include "drive/IndexSearch.h"
#include "drive/ReadAhead.h"

#include <memory>
#include <optional>

namespace cueify {

class DriveDevice final : public Device
{
public:
    // A handle on the drive: the connection's TOC places and types the sectors that raw reads ask
    // for until the next readFullToc, and when whole, it is what the first readFullToc gives.
    explicit DriveDevice(std::shared_ptr<DriveConnection> drive);

    // The full TOC, or where the drive refuses READ TOC format 2, its ordinary track table split
    // where the last session starts. Throws Failure as readDriveToc does.
    FullTocData readFullToc() override;

    // Reads ahead while the requests go on in order: one READ CD for up to readAheadSectors of
    // the track, the following requests served from it. Where such a batch fails, its sectors are
    // read one by one, so that the error comes from the very sector that failed.
    void readRawSector(Lba lba, uint8_t* buffer) override;

    // Reads another sector at the far end of the disc first, which makes a drive's cache give up
    // the sector asked for, then that sector alone.
    void readRawSectorUncached(Lba lba, uint8_t* buffer) override;

    // SET CD SPEED through the kernel's CDROM_SELECT_SPEED, which an ordinary user may send on a
    // drive opened for reading; the command itself needs a drive opened for writing.
    void setReadSpeed(unsigned speed) override;

    // As readRawSectorUncached, with the drive's C2 error pointers. Throws Failure (CUEIFY_NO_DATA)
    // where the drive does not offer them.
    void readRawSectorUncachedWithC2(Lba lba, uint8_t* buffer, uint8_t* c2Pointers) override;

    // READ SUB-CHANNEL's MCN and ISRC.
    std::string readMcn() override;
    std::string readIsrc(uint8_t track) override;

    // Found by reading the Q sub-channel's position at the track's end and at the boundaries
    // a binary search narrows down.
    std::vector<IndexMark> readTrackIndices(uint8_t track) override;

    // The Q sub-channel's CONTROL at the track's start.
    uint8_t readTrackControlFlags(uint8_t track) override;

    // READ TOC format 5. Throws Failure (CUEIFY_ERR_INTERNAL) where the drive refuses it, as drives
    // do for a disc without CD-Text.
    CdTextData readCdText() override;

private:
    // Asks the drive's capabilities page once, at the first call.
    bool offersC2Pointers();
    // The track holding the sector, or null where a read must not go.
    const TocTrack* readableTrack(Lba lba, const uint8_t* buffer) const;

    void readFromDrive(Lba lba, const TocTrack& track, uint8_t* buffer);
    // False, and buffer left as it was, when the drive cannot read the sector.
    bool readOneSector(Lba lba, const TocTrack& track, uint8_t* buffer);
    // Reads the sector farthest from lba, so that the drive's cache no longer holds lba; with
    // m_drive->mutex held.
    void moveCacheAwayFrom(Lba lba);
    // The farthest of the disc's first and last readable sectors.
    Lba farthestSectorFrom(Lba lba) const;

    // The position the Q sub-channel gives at or just before a sector, skipping frames that carry
    // a catalogue number or an ISRC instead. Throws Failure when none can be read.
    QPosition positionAt(Lba lba);

    const TocTrack& tocTrack(uint8_t track) const;

    std::shared_ptr<DriveConnection> m_drive;
    FullTocData m_toc;
    std::optional<bool> m_offersC2Pointers;
    bool m_tocReadAtOpen = false; // the first readFullToc gives m_toc, the connection's
    uint32_t m_readAheadSectors;
    ReadAhead m_readAhead;
    // After a failed batch, requests in order up to its end are read one sector at a time.
    Lba m_nextSingleSector{0};
    Lba m_singleSectorsEnd{0};
};

} // namespace cueify
