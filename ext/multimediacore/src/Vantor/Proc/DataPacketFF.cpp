#include "Vantor/Proc/DataPacketFF.h"

#include "Vantor/Proc/PacketStore.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <climits>
#include <cstddef>
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

// Never destroyed: a packet may be released by another library's static destructor, after this
// library's would have run. The spare packets stay reachable, so leak checkers do not count them.
// Null only when the store could not be made; packets then come and go through the heap.
PacketStore* Store() noexcept
{
    static PacketStore* const store = new (std::nothrow) PacketStore();
    return store;
}

} // namespace

// FFmpeg sizes payloads in int and adds padding behind them; anything larger cannot be had.
AVPacket* CreatePacket(unsigned long size)
{
    if (size > static_cast<unsigned long>(INT_MAX - AV_INPUT_BUFFER_PADDING_SIZE))
        throw std::bad_alloc();
    PacketStore* const store = Store();
    if (AVPacket* stored = store ? store->Take(size) : nullptr)
        return stored;
    PacketHandle packet(av_packet_alloc());
    if (!packet || av_new_packet(packet.get(), static_cast<int>(size)) != 0)
        throw std::bad_alloc();
    return packet.release();
}

void ReleasePacket(AVPacket* packet) noexcept
{
    PacketStore* const store = Store();
    if (packet && !(store && store->Keep(packet)))
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
