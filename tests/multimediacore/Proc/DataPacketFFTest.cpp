#include "Vantor/Proc/DataPacketFF.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <discgeometry/DiscGeometry.h>
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <vector>

using Vantor::Proc::CreatePacket;
using Vantor::Proc::ReleasePacket;

namespace {

constexpr int kSectorBytes = discgeometry::kRawSectorBytes; // one CD sector, the CD plug-in's packet

void CountFree(void* opaque, uint8_t* data)
{
    ++*static_cast<int*>(opaque);
    av_free(data);
}

} // namespace

TEST(CreatePacket, GivesPayloadsOfEverySizeWithZeroPaddingOrThrowsBadAlloc)
{
    EXPECT_THROW(CreatePacket(1UL << 40), std::bad_alloc);
    for (const unsigned long size :
         {0UL, 1UL, static_cast<unsigned long>(kSectorBytes), 4096UL, 65536UL, 1UL << 20}) {
        AVPacket* packet = CreatePacket(size);
        EXPECT_EQ(packet->size, static_cast<int>(size));
        EXPECT_EQ(
            std::vector<uint8_t>(packet->data + size, packet->data + size + AV_INPUT_BUFFER_PADDING_SIZE),
            std::vector<uint8_t>(AV_INPUT_BUFFER_PADDING_SIZE, 0))
            << size << " bytes";
        ReleasePacket(packet);
    }
}

// A released packet may come back from the next CreatePacket: it starts as new, unless its payload
// is still referenced elsewhere, which is then never handed out again.
TEST(CreatePacket, APacketAfterAReleasedOneStartsAsNewAndAReferencedPayloadIsNotReused)
{
    AVPacket* first = CreatePacket(kSectorBytes);
    first->flags |= AV_PKT_FLAG_KEY;
    first->pts = first->dts = 13333;
    first->stream_index = 3;
    ASSERT_NE(av_packet_new_side_data(first, AV_PKT_DATA_SKIP_SAMPLES, 10), nullptr);
    std::memset(first->data, 0x5A, kSectorBytes + AV_INPUT_BUFFER_PADDING_SIZE);
    ReleasePacket(first);

    AVPacket* second = CreatePacket(kSectorBytes);
    EXPECT_EQ(std::vector<long long>({second->size, second->flags, second->pts, second->dts,
                                      second->stream_index, second->side_data_elems}),
              std::vector<long long>({kSectorBytes, 0, AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(second->data + kSectorBytes,
                                   second->data + kSectorBytes + AV_INPUT_BUFFER_PADDING_SIZE),
              std::vector<uint8_t>(AV_INPUT_BUFFER_PADDING_SIZE, 0));
    std::memset(second->data, 0x5A, kSectorBytes);
    AVPacket* reference = av_packet_alloc();
    ASSERT_EQ(av_packet_ref(reference, second), 0);
    ReleasePacket(second);

    AVPacket* next = CreatePacket(kSectorBytes);
    std::memset(next->data, 0, kSectorBytes);
    EXPECT_EQ(std::vector<uint8_t>(reference->data, reference->data + kSectorBytes),
              std::vector<uint8_t>(kSectorBytes, 0x5A));
    ReleasePacket(next);
    av_packet_free(&reference);
}

TEST(DataPacketFF, AnswersWhatItWasMadeWithAndFreesThePacketOnceWithTheLastReference)
{
    int frees = 0;
    AVPacket* packet = av_packet_alloc();
    auto* data = static_cast<uint8_t*>(av_mallocz(64 + AV_INPUT_BUFFER_PADDING_SIZE));
    packet->buf = av_buffer_create(data, 64, &CountFree, &frees, 0);
    packet->data = data;
    packet->size = 64;
    {
        Vantor::SP<Vantor::Proc::IDataPacket> first =
            Vantor::Proc::DataPacketFF::Create(packet, Vantor::MEDIA_TYPE_AUDIO, 26666, 13333, 40000);
        const Vantor::SP<Vantor::Proc::IDataPacket> second = first;
        first.reset();
        EXPECT_EQ(frees, 0);
        EXPECT_EQ(std::vector<long long>({second->GetMediaType(), second->GetPts(), second->GetDts(),
                                          second->GetDuration(), second->IsKeyFrame(),
                                          static_cast<long long>(second->GetSize())}),
                  std::vector<long long>({Vantor::MEDIA_TYPE_AUDIO, 26666, 13333, 40000, 0, 64}));
        EXPECT_EQ(second->GetData(), data);
        EXPECT_EQ(second->GetAVPacket(), packet);
    }
    EXPECT_EQ(frees, 1);
}
