// Reads a range of a track's audio through the plug-in's parser. The parser answers null both at
// the end of the track and after a failed sector read; the track's sector count from the disc's
// table of contents tells the two apart. A failed read is tried again a few times (the parser
// then reads the same sector) before the reader gives up and names the sector.
#pragma once

#include "SampleRange.h"

#include "Vantor/Proc/IParser.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace vantorcd {

struct TrackExtent
{
    unsigned track = 0;
    uint32_t firstLba = 0;
    uint32_t sectorCount = 0;
};

struct PcmChunk
{
    const uint8_t* data = nullptr;
    size_t size = 0; // 0 at the end of the range
};

class PcmReader
{
public:
    static constexpr int kReadAttempts = 4;

    // Seeks the parser to the range's first sector. readFailureReason gives the text that ends the
    // message about an unreadable sector. Throws what the parser's Seek throws.
    PcmReader(Vantor::SP<Vantor::Proc::IParser> parser, const TrackExtent& extent, const SampleRange& range,
              std::function<std::string()> readFailureReason);

    // The next bytes of the range, valid until the next call. Throws UserError naming the sector
    // when it cannot be read.
    PcmChunk next();

    uint64_t bytesDone() const noexcept { return (m_position - m_range.begin) * kBytesPerSample; }
    // Sector reads tried again after a failure.
    unsigned rereads() const noexcept { return m_rereads; }

private:
    Vantor::SP<Vantor::Proc::IDataPacket> readSector();
    [[noreturn]] void failAt(uint32_t sector) const;

    Vantor::SP<Vantor::Proc::IParser> m_parser;
    TrackExtent m_extent;
    SampleRange m_range;
    std::function<std::string()> m_readFailureReason;
    uint64_t m_position;   // next sample to deliver
    uint32_t m_nextSector; // the sector the parser reads next
    Vantor::SP<Vantor::Proc::IDataPacket> m_packet;
    unsigned m_rereads = 0;
};

} // namespace vantorcd
