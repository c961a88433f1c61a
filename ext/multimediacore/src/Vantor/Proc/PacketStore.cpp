#include "Vantor/Proc/PacketStore.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/buffer.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace Vantor {
namespace Proc {

namespace {

// A shelf keeps at most this many bytes of payload: enough for a host that queues a few seconds
// of sectors, and a bound on what a burst of large packets leaves behind.
constexpr size_t kSpareBytesPerShelf = size_t{1024} * 1024;

void FreePayload(void*, uint8_t* data)
{
    av_free(data);
}

struct PacketFreer
{
    void operator()(AVPacket* packet) const noexcept { av_packet_free(&packet); }
};

// The payload's buffer carries owner as its opaque value, by which the store knows it again.
AVPacket* MakePacket(size_t capacity, const void* owner)
{
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    if (!packet)
        throw std::bad_alloc();
    auto* payload = static_cast<uint8_t*>(av_malloc(capacity));
    if (payload)
        packet->buf = av_buffer_create(payload, capacity, &FreePayload, const_cast<void*>(owner), 0);
    if (!packet->buf) {
        av_free(payload);
        throw std::bad_alloc();
    }
    return packet.release();
}

} // namespace

PacketShelf::PacketShelf(size_t capacity) noexcept
    : m_capacity(capacity), m_spareLimit(std::min(kMostSpares, kSpareBytesPerShelf / capacity))
{
}

PacketShelf::~PacketShelf()
{
    for (size_t i = 0; i < m_spareCount; ++i)
        av_packet_free(&m_spares[i]);
}

AVPacket* PacketShelf::Take(const void* owner)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_spareCount > 0)
            return m_spares[--m_spareCount];
    }
    return MakePacket(m_capacity, owner);
}

bool PacketShelf::Keep(AVPacket* packet) noexcept
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_spareCount == m_spareLimit)
        return false;
    m_spares[m_spareCount++] = packet;
    return true;
}

PacketStore::PacketStore() noexcept
    : m_shelves{
          {PacketShelf(4096), PacketShelf(8192), PacketShelf(16384), PacketShelf(32768), PacketShelf(65536)}}
{
}

AVPacket* PacketStore::Take(size_t size)
{
    PacketShelf* shelf = ShelfFitting(size);
    if (!shelf)
        return nullptr;
    AVPacket* packet = shelf->Take(this);
    packet->data = packet->buf->data;
    packet->size = static_cast<int>(size);
    // A spare payload still holds an earlier packet's bytes; FFmpeg expects zeroed padding.
    std::memset(packet->data + size, 0, AV_INPUT_BUFFER_PADDING_SIZE);
    return packet;
}

bool PacketStore::Keep(AVPacket* packet) noexcept
{
    AVBufferRef* payload = packet->buf;
    if (!payload || av_buffer_get_opaque(payload) != this || !av_buffer_is_writable(payload))
        return false;
    PacketShelf* shelf = ShelfHolding(payload->size);
    if (!shelf)
        return false;
    // Back to the fields of a new packet (side data and all), the payload kept.
    packet->buf = nullptr;
    av_packet_unref(packet);
    packet->buf = payload;
    return shelf->Keep(packet);
}

PacketShelf* PacketStore::ShelfFitting(size_t size) noexcept
{
    for (PacketShelf& shelf : m_shelves)
        if (size <= shelf.Capacity() - AV_INPUT_BUFFER_PADDING_SIZE)
            return &shelf;
    return nullptr;
}

PacketShelf* PacketStore::ShelfHolding(size_t capacity) noexcept
{
    for (PacketShelf& shelf : m_shelves)
        if (shelf.Capacity() == capacity)
            return &shelf;
    return nullptr;
}

} // namespace Proc
} // namespace Vantor
