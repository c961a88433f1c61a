#include "Vantor/Proc/DataPacketFF.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <gtest/gtest.h>

#include <new>

using Vantor::Proc::CreatePacket;
using Vantor::Proc::DataPacketFF;

namespace {

void CountFree(void* opaque, uint8_t* data)
{
    ++*static_cast<int*>(opaque);
    av_free(data);
}

// A packet whose payload reports into frees when FFmpeg lets go of it.
AVPacket* CountingPacket(int& frees, int size)
{
    AVPacket* packet = av_packet_alloc();
    auto* data = static_cast<uint8_t*>(av_mallocz(size + AV_INPUT_BUFFER_PADDING_SIZE));
    packet->buf = av_buffer_create(data, size, &CountFree, &frees, 0);
    packet->data = data;
    packet->size = size;
    return packet;
}

} // namespace

TEST(CreatePacket, AllocatesThePayload)
{
    AVPacket* packet = CreatePacket(2352);
    ASSERT_NE(packet, nullptr);
    EXPECT_EQ(packet->size, 2352);
    EXPECT_NE(packet->data, nullptr);
    EXPECT_EQ(packet->flags, 0);
    Vantor::Proc::ReleasePacket(packet);
    Vantor::Proc::ReleasePacket(nullptr);
}

TEST(CreatePacket, SizeBeyondWhatFFmpegCanHoldIsBadAlloc)
{
    EXPECT_THROW(CreatePacket(1UL << 40), std::bad_alloc);
}

TEST(DataPacketFF, ReportsTimesFlagsAndPayload)
{
    AVPacket* raw = CreatePacket(2352);
    raw->flags |= AV_PKT_FLAG_KEY;
    raw->data[0] = 0x5A;
    const Vantor::SP<Vantor::Proc::IDataPacket> packet =
        DataPacketFF::Create(raw, Vantor::MEDIA_TYPE_AUDIO, 13333, 13333, 13333);

    EXPECT_EQ(packet->GetMediaType(), Vantor::MEDIA_TYPE_AUDIO);
    EXPECT_EQ(packet->GetPts(), 13333);
    EXPECT_EQ(packet->GetDts(), 13333);
    EXPECT_EQ(packet->GetDuration(), 13333);
    EXPECT_EQ(packet->GetSize(), 2352u);
    EXPECT_EQ(packet->GetData()[0], 0x5A);
    EXPECT_EQ(packet->GetAVPacket(), raw);
    EXPECT_TRUE(packet->IsKeyFrame());
}

TEST(DataPacketFF, PacketWithoutKeyFlagIsNoKeyFrame)
{
    const auto packet = DataPacketFF::Create(CreatePacket(4), Vantor::MEDIA_TYPE_AUDIO, 0, 0, 0);
    EXPECT_FALSE(packet->IsKeyFrame());
}

TEST(DataPacketFF, FreesThePacketOnceWithTheLastReference)
{
    int frees = 0;
    {
        Vantor::SP<Vantor::Proc::IDataPacket> first =
            DataPacketFF::Create(CountingPacket(frees, 2352), Vantor::MEDIA_TYPE_AUDIO, 0, 0, 0);
        Vantor::SP<Vantor::Proc::IDataPacket> second = first;
        first.reset();
        EXPECT_EQ(frees, 0);
    }
    EXPECT_EQ(frees, 1);
}
