// AccurateRip CRCs and CRC-32 against published vectors: a synthetic three-track disc whose
// sample n is the word 2654435761 n + 12345, and the dBAR reply that holds the disc's v1 CRCs.
#include "AccurateRipCrc.h"
#include "DbarReply.h"
#include "HexText.h"
#include "wave/WaveFile.h"

#include <discgeometry/DiscGeometry.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantorcd {
namespace {

using discgeometry::kRawSectorBytes;
using discgeometry::kSamplesPerSector;

using testsupport::hex;

std::string syntheticSamples(uint64_t first, uint64_t count)
{
    std::string bytes;
    for (uint64_t n = first; n < first + count; ++n)
        bytes += wavefile::littleEndian(static_cast<uint32_t>(2654435761u * n + 12345u), 4);
    return bytes;
}

std::string checksums(const std::string& pcm, bool first, bool last, size_t chunk)
{
    AccurateRipCrc crc(pcm.size() / 4, first, last);
    for (size_t offset = 0; offset < pcm.size(); offset += chunk)
        crc.add(reinterpret_cast<const uint8_t*>(pcm.data()) + offset, std::min(chunk, pcm.size() - offset));
    return hex(crc.v1()) + " " + hex(crc.v2()) + " " + hex(crc.frame450()) + " " + hex(crc.crc32());
}

TEST(AccurateRipCrc, SyntheticDiscTracksGiveTheirPublishedChecksumsWhateverTheChunkSize)
{
    const struct
    {
        uint64_t firstSector, sectors;
        bool first, last;
        const char* expected;
    } tracks[] = {{0, 500, true, false, "534b8756 5b278a13 030a798a 01262055"},
                  {500, 500, false, false, "d282c9a8 da7fc1cd df8d67aa 6e7e6a97"},
                  {1000, 460, false, true, "ee994126 192f34cc bc1055ca 2ca9e049"}};
    for (const auto& track : tracks) {
        SCOPED_TRACE(track.expected);
        const std::string pcm =
            syntheticSamples(track.firstSector * kSamplesPerSector, track.sectors * kSamplesPerSector);
        EXPECT_EQ(checksums(pcm, track.first, track.last, kRawSectorBytes), track.expected);
        EXPECT_EQ(checksums(pcm, track.first, track.last, 4 * 1001), track.expected);
    }
}

TEST(DbarReply, PublishedReplyGivesItsIdsConfidencesAndCrcs)
{
    const std::vector<uint8_t> reply = {0x03, 0x90, 0x0b, 0x00, 0x00, 0x71, 0x26, 0x00, 0x00, 0x03,
                                        0x13, 0x00, 0x10, 0x05, 0x56, 0x87, 0x4b, 0x53, 0x8a, 0x79,
                                        0x0a, 0x03, 0x05, 0xa8, 0xc9, 0x82, 0xd2, 0xaa, 0x67, 0x8d,
                                        0xdf, 0x05, 0x26, 0x41, 0x99, 0xee, 0xca, 0x55, 0x10, 0xbc};
    const std::vector<DbarResponse> responses = parseDbarReply(reply.data(), reply.size());
    ASSERT_EQ(responses.size(), 1u);
    std::string described =
        hex(responses[0].id1) + " " + hex(responses[0].id2) + " " + hex(responses[0].freedb);
    for (const auto& track : responses[0].tracks)
        described +=
            ", " + std::to_string(track.confidence) + " " + hex(track.crc) + " " + hex(track.frame450Crc);
    EXPECT_EQ(described,
              "00000b90 00002671 10001303, 5 534b8756 030a798a, 5 d282c9a8 df8d67aa, 5 ee994126 bc1055ca");
}

} // namespace
} // namespace vantorcd
