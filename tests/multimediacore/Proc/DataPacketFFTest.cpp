#include "Vantor/Proc/DataPacketFF.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <gtest/gtest.h>

#include <new>

using Vantor::Proc::CreatePacket;

namespace {

void CountFree(void* opaque, uint8_t* data)
{
    ++*static_cast<int*>(opaque);
    av_free(data);
}

} // namespace

TEST(CreatePacket, AllocatesThePayloadOrThrowsBadAlloc)
{
    AVPacket* packet = CreatePacket(2352);
    EXPECT_EQ(packet->size, 2352);
    Vantor::Proc::ReleasePacket(packet);
    EXPECT_THROW(CreatePacket(1UL << 40), std::bad_alloc);
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
