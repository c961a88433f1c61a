#include "Vantor/Proc/DataPacketFF.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <climits>
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

class OwnedPacket final : public DataPacketFF
{
public:
    OwnedPacket(PacketHandle packet, MediaType type, long long pts, long long dts,
                long long duration) noexcept
        : m_packet(std::move(packet)), m_type(type), m_pts(pts), m_dts(dts), m_duration(duration)
    {
    }

    long AddRef() const override { return m_refCount.AddRefImpl(); }
    long GetRefCount() const override { return m_refCount.GetRefCountImpl(); }
    long Release() const override
    {
        const long left = m_refCount.ReleaseImpl();
        if (left == 0)
            delete this;
        return left;
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
    RefCountImpl m_refCount;
    PacketHandle m_packet;
    MediaType m_type;
    long long m_pts;
    long long m_dts;
    long long m_duration;
};

} // namespace

// FFmpeg sizes payloads in int and adds padding behind them; anything larger cannot be had.
AVPacket* CreatePacket(unsigned long size)
{
    if (size > static_cast<unsigned long>(INT_MAX - AV_INPUT_BUFFER_PADDING_SIZE))
        throw std::bad_alloc();
    PacketHandle packet(av_packet_alloc());
    if (!packet || av_new_packet(packet.get(), static_cast<int>(size)) != 0)
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
