#include "Vantor/Proc/DataPacketFF.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/buffer.h>
}

#include <climits>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

namespace Vantor {
namespace Proc {

namespace {

struct PacketFreer
{
    void operator()(AVPacket* packet) const noexcept { ReleasePacket(packet); }
};

using PacketHandle = std::unique_ptr<AVPacket, PacketFreer>;

class OwnedPacket final : public RefCounted<DataPacketFF>
{
public:
    OwnedPacket(PacketHandle packet, MediaType type, long long pts, long long dts,
                long long duration) noexcept
        : m_packet(std::move(packet)), m_type(type), m_pts(pts), m_dts(dts), m_duration(duration)
    {
    }

    MediaType GetMediaType() const override { return m_type; }
    long long GetPts() const override { return m_pts; }
    long long GetDts() const override { return m_dts; }
    long long GetDuration() const override { return m_duration; }
    const uint8_t* GetData() const override { return m_packet ? m_packet->data : nullptr; }
    size_t GetSize() const override { return m_packet ? static_cast<size_t>(m_packet->size) : 0; }
    bool IsKeyFrame() const override { return m_packet && (m_packet->flags & AV_PKT_FLAG_KEY) != 0; }
    const AVPacket* GetAVPacket() const override { return m_packet.get(); }

private:
    PacketHandle m_packet;
    MediaType m_type;
    long long m_pts;
    long long m_dts;
    long long m_duration;
};

// Recycled payload buffers, one FFmpeg pool per power of two from 4 KiB to 64 KiB. Parsers ask
// for packet after packet of one size (a CD sector each) and hosts release each before long: a
// pooled buffer comes back without a trip through the heap, where a fresh block of a few KiB cost
// more than any other step of making a packet. A pool keeps as many buffers as were ever out at
// once; larger payloads are not pooled.
class PayloadPools
{
public:
    PayloadPools() noexcept
    {
        for (size_t i = 0; i < POOL_COUNT; ++i)
            m_pools[i] = av_buffer_pool_init(SMALLEST_POOLED << i, nullptr);
    }

    // A buffer of at least bytes, or null when bytes is beyond the largest pool or the pool
    // could not be made.
    AVBufferRef* Get(size_t bytes) const noexcept
    {
        size_t index = 0;
        while (index < POOL_COUNT && (SMALLEST_POOLED << index) < bytes)
            ++index;
        return index < POOL_COUNT && m_pools[index] ? av_buffer_pool_get(m_pools[index]) : nullptr;
    }

private:
    static constexpr size_t SMALLEST_POOLED = 4096;
    static constexpr size_t POOL_COUNT = 5;

    AVBufferPool* m_pools[POOL_COUNT];
};

// Never destroyed: a packet may be released by another library's static destructor, after this
// library's would have run. The pools stay reachable, so leak checkers do not count them.
const PayloadPools& Pools()
{
    static const PayloadPools* const pools = new PayloadPools();
    return *pools;
}

bool AttachPooledPayload(AVPacket& packet, unsigned long size) noexcept
{
    AVBufferRef* buffer = Pools().Get(size + AV_INPUT_BUFFER_PADDING_SIZE);
    if (!buffer)
        return false;
    packet.buf = buffer;
    packet.data = buffer->data;
    packet.size = static_cast<int>(size);
    // A recycled buffer still holds an earlier packet's bytes; FFmpeg expects zeroed padding.
    std::memset(packet.data + size, 0, AV_INPUT_BUFFER_PADDING_SIZE);
    return true;
}

} // namespace

// FFmpeg sizes payloads in int and adds padding behind them; anything larger cannot be had.
AVPacket* CreatePacket(unsigned long size)
{
    if (size > static_cast<unsigned long>(INT_MAX - AV_INPUT_BUFFER_PADDING_SIZE))
        throw std::bad_alloc();
    PacketHandle packet(av_packet_alloc());
    if (!packet)
        throw std::bad_alloc();
    if (!AttachPooledPayload(*packet, size) && av_new_packet(packet.get(), static_cast<int>(size)) != 0)
        throw std::bad_alloc();
    return packet.release();
}

void ReleasePacket(AVPacket* packet) noexcept
{
    av_packet_free(&packet);
}

SP<IDataPacket> DataPacketFF::Create(AVPacket* packet, MediaType type, long long pts, long long dts,
                                     long long duration)
{
    PacketHandle owner(packet);
    return SP<IDataPacket>(new OwnedPacket(std::move(owner), type, pts, dts, duration));
}

} // namespace Proc
} // namespace Vantor
