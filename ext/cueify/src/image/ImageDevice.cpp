#include "image/ImageDevice.h"

#include "core/Failure.h"
#include "image/CookedSector.h"

#include <cueify/error.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace cueify {
namespace {

std::optional<CookedMode> cookedModeOf(TrackMode mode)
{
    switch (mode) {
    case TrackMode::Mode1User:
        return CookedMode::Mode1;
    case TrackMode::Mode2Form1:
        return CookedMode::Mode2Form1;
    case TrackMode::Mode2Form2:
        return CookedMode::Mode2Form2;
    case TrackMode::Mode2Body:
        return CookedMode::Mode2;
    case TrackMode::Audio:
    case TrackMode::Cdg:
    case TrackMode::Mode1Raw:
    case TrackMode::Mode2Raw:
        break;
    }
    return std::nullopt;
}

} // namespace

ImageDevice::ImageDevice(CueSheet sheet, ImageLayout layout, std::vector<OpenedDataFile> files,
                         ImageCdText cdText) noexcept
    : m_sheet(std::move(sheet)), m_layout(std::move(layout)), m_files(std::move(files)),
      m_cdText(std::move(cdText))
{
}

size_t ImageDevice::trackIndexOf(uint8_t track) const
{
    const auto& tracks = m_layout.toc.tracks;
    const auto found = std::find_if(tracks.begin(), tracks.end(),
                                    [track](const TocTrack& entry) { return entry.number == track; });
    if (found == tracks.end())
        throw Failure(CUEIFY_ERR_INTERNAL, "the disc has no track " + std::to_string(track));
    return static_cast<size_t>(found - tracks.begin());
}

std::string ImageDevice::readMcn()
{
    if (m_sheet.catalog.empty())
        throw Failure(CUEIFY_NO_DATA, "the sheet has no CATALOG");
    return m_sheet.catalog;
}

std::string ImageDevice::readIsrc(uint8_t track)
{
    const std::string& isrc = m_sheet.tracks[trackIndexOf(track)].isrc;
    if (isrc.empty())
        throw Failure(CUEIFY_NO_DATA, "track " + std::to_string(track) + " has no ISRC");
    return isrc;
}

std::vector<IndexMark> ImageDevice::readTrackIndices(uint8_t track)
{
    const size_t t = trackIndexOf(track);
    std::vector<IndexMark> marks;
    for (const IndexAddress& index : m_layout.indices[t]) {
        if (index.number > 0)
            marks.push_back({index.number, index.address});
    }
    const auto& tracks = m_layout.toc.tracks;
    const bool nextInSession = t + 1 < tracks.size() && tracks[t + 1].session == tracks[t].session;
    if (nextInSession && !m_layout.indices[t + 1].empty() && m_layout.indices[t + 1].front().number == 0)
        marks.push_back({0, m_layout.indices[t + 1].front().address});
    return marks;
}

uint8_t ImageDevice::readTrackControlFlags(uint8_t track)
{
    return m_layout.toc.tracks[trackIndexOf(track)].control;
}

FullTocData ImageDevice::readFullToc()
{
    return m_layout.toc;
}

CdTextData ImageDevice::readCdText()
{
    return m_cdText.read();
}

void ImageDevice::readRawSector(Lba lba, uint8_t* buffer)
{
    if (lba.value >= m_layout.end.value)
        throw Failure(CUEIFY_ERR_BADARG, "LBA " + std::to_string(lba.value) +
                                             " lies past the end of the disc (LBA " +
                                             std::to_string(m_layout.end.value) + ")");
    const ImageExtent* extent = extentHolding(lba);
    if (!extent)
        throw Failure(CUEIFY_ERR_INTERNAL, "LBA " + std::to_string(lba.value) +
                                               " lies between two sessions, where the disc holds no data");
    if (extent->file)
        readStoredSector(*extent, lba, buffer);
    else
        std::memset(buffer, 0, kRawSectorBytes);
}

void ImageDevice::readRawSectorUncachedWithC2(Lba /*lba*/, uint8_t* /*buffer*/, uint8_t* /*c2Pointers*/)
{
    throw Failure(CUEIFY_NO_DATA, "a disc image has no C2 error pointers to report");
}

void ImageDevice::readStoredSector(const ImageExtent& extent, Lba lba, uint8_t* buffer)
{
    const OpenedDataFile& opened = m_files[*extent.file];
    const uint32_t storedBytes = storedSectorBytes(extent.mode);
    const uint64_t offset = extent.fileOffset + uint64_t{lba.value - extent.start.value} * storedBytes;
    const std::optional<CookedMode> cooked = cookedModeOf(extent.mode);
    // Raw sectors are stored whole; CD+G keeps its sub-channel after the 2352 audio bytes. Cooked
    // sectors come back as a drive returns them, with sync, header and error codes made here.
    std::array<uint8_t, kRawSectorBytes> stored;
    uint8_t* const target = cooked ? stored.data() : buffer;
    if (!opened.file->read(offset, target, cooked ? storedBytes : kRawSectorBytes))
        throw Failure(CUEIFY_ERR_INTERNAL,
                      "'" + opened.name + "' ends before the sector at LBA " + std::to_string(lba.value));
    if (cooked)
        expandCookedSector(*cooked, toAbsolute(lba), stored.data(), buffer);
}

const ImageExtent* ImageDevice::extentHolding(Lba lba) const noexcept
{
    const auto& extents = m_layout.extents;
    auto after = std::upper_bound(
        extents.begin(), extents.end(), lba.value,
        [](uint32_t value, const ImageExtent& extent) { return value < extent.start.value; });
    if (after == extents.begin())
        return nullptr;
    const ImageExtent& extent = *std::prev(after);
    return lba.value - extent.start.value < extent.sectors ? &extent : nullptr;
}

} // namespace cueify
