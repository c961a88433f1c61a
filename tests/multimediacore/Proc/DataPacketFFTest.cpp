#include "Vantor/Proc/DataPacketFF.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <discgeometry/DiscGeometry.h>
#include <gtest/gtest.h>

#include <cstring>
#include <new>

using Vantor::Proc::CreatePacket;

namespace {

constexpr int kSectorBytes = discgeometry::kRawSectorBytes; // one CD sector, the CD plug-in's packet

void CountFree(void* opaque, uint8_t* data)
{
    ++*static_cast<int*>(opaque);
    av_free(data);
}

} // namespace

TEST(CreatePacket, AllocatesThePayloadOrThrowsBadAlloc)
{
    AVPacket* packet = CreatePacket(kSectorBytes);
    EXPECT_EQ(packet->size, kSectorBytes);
    Vantor::Proc::ReleasePacket(packet);
    EXPECT_THROW(CreatePacket(1UL << 40), std::bad_alloc);
}

TEST(CreatePacket, GivesPayloadsOfEverySize)
{
    for (const unsigned long size : {0UL, 1UL, 2352UL, 4096UL, 65536UL, 1UL << 20}) {
        AVPacket* packet = CreatePacket(size);
        EXPECT_EQ(packet->size, static_cast<int>(size));
        std::memset(packet->data, 0x5A, size);
        EXPECT_EQ(packet->data[size], 0) << "padding behind " << size << " bytes";
        Vantor::Proc::ReleasePacket(packet);
    }
}

TEST(CreatePacket, APacketAfterAReleasedOneStartsAsNew)
{
    AVPacket* first = CreatePacket(kSectorBytes);
    first->flags |= AV_PKT_FLAG_KEY;
    first->pts = first->dts = 13333;
    first->stream_index = 3;
    ASSERT_NE(av_packet_new_side_data(first, AV_PKT_DATA_SKIP_SAMPLES, 10), nullptr);
    std::memset(first->data, 0x5A, kSectorBytes + AV_INPUT_BUFFER_PADDING_SIZE);
    Vantor::Proc::ReleasePacket(first);

    AVPacket* second = CreatePacket(kSectorBytes);
    EXPECT_EQ(second->size, kSectorBytes);
    EXPECT_EQ(second->flags, 0);
    EXPECT_EQ(second->pts, AV_NOPTS_VALUE);
    EXPECT_EQ(second->dts, AV_NOPTS_VALUE);
    EXPECT_EQ(second->stream_index, 0);
    EXPECT_EQ(second->side_data_elems, 0);
    for (int i = 0; i < AV_INPUT_BUFFER_PADDING_SIZE; ++i)
        EXPECT_EQ(second->data[kSectorBytes + i], 0) << "padding byte " << i;
    Vantor::Proc::ReleasePacket(second);
}

TEST(CreatePacket, APayloadStillReferencedElsewhereIsNotHandedOutAgain)
{
    AVPacket* packet = CreatePacket(kSectorBytes);
    std::memset(packet->data, 0x5A, kSectorBytes);
    AVPacket* reference = av_packet_alloc();
    ASSERT_EQ(av_packet_ref(reference, packet), 0);
    Vantor::Proc::ReleasePacket(packet);

    AVPacket* next = CreatePacket(kSectorBytes);
    std::memset(next->data, 0, kSectorBytes);
    EXPECT_EQ(reference->data[0], 0x5A);
    EXPECT_EQ(reference->data[2351], 0x5A);
    Vantor::Proc::ReleasePacket(next);
    av_packet_free(&reference);
}

TEST(DataPacketFF, FreesThePacketOnceWithTheLastReference)
{
    int frees = 0;
    AVPacket* packet = av_packet_alloc();
    auto* data = static_cast<uint8_t*>(av_mallocz(64 + AV_INPUT_BUFFER_PADDING_SIZE));
    packet->buf = av_buffer_create(data, 64, &CountFree, &frees, 0);
    packet->data = data;
    packet->size = 64;
    {
        Vantor::SP<Vantor::Proc::IDataPacket> first =
            Vantor::Proc::DataPacketFF::Create(packet, Vantor::MEDIA_TYPE_AUDIO, 0, 0, 0);
        const Vantor::SP<Vantor::Proc::IDataPacket> second = first;
        first.reset();
        EXPECT_EQ(frees, 0);
        EXPECT_EQ(second->GetData(), data);
    }
    EXPECT_EQ(frees, 1);
}
