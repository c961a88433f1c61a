// Packets kept whole for reuse once released, one shelf per payload capacity.
//
// Parsers ask for packet after packet of one size (a CD sector each) and hosts release each
// before long. Making a packet anew costs three small aligned heap blocks (the AVPacket, its
// buffer reference and the payload), and aligned blocks are the slowest the heap hands out:
// together they cost more than reading the sector. A released packet whose payload no one else
// holds goes back on its shelf as it is and comes back from CreatePacket without the heap.
#pragma once

#include <array>
#include <cstddef>
#include <mutex>

struct AVPacket;

namespace Vantor {
namespace Proc {

// Spare packets whose payloads all have one capacity, padding included.
class PacketShelf
{
public:
    explicit PacketShelf(size_t capacity) noexcept;
    ~PacketShelf();
    PacketShelf(const PacketShelf&) = delete;
    PacketShelf& operator=(const PacketShelf&) = delete;

    size_t Capacity() const noexcept { return m_capacity; }

    // A spare packet, or a new one when the shelf is empty; owner marks the payloads of new
    // ones. Throws std::bad_alloc when memory runs out.
    AVPacket* Take(const void* owner);
    // False when the shelf is full.
    bool Keep(AVPacket* packet) noexcept;

private:
    // What the shelf of the smallest payloads can keep; larger payloads keep fewer.
    static constexpr size_t kMostSpares = 256;

    const size_t m_capacity;
    const size_t m_spareLimit;
    std::mutex m_mutex; // guards what follows
    std::array<AVPacket*, kMostSpares> m_spares{};
    size_t m_spareCount = 0;
};

class PacketStore
{
public:
    PacketStore() noexcept;

    // A packet whose payload holds size bytes followed by zeroed padding, with every other field
    // as av_packet_alloc leaves it; null when size is beyond the largest shelf. Throws
    // std::bad_alloc when a new packet is needed and memory runs out.
    AVPacket* Take(size_t size);

    // Keeps a packet made by Take for a later Take, with its payload. False, and the packet left
    // to the caller to free, when the payload is not one of this store's, is still referenced
    // elsewhere, or its shelf is full.
    bool Keep(AVPacket* packet) noexcept;

private:
    // The smallest shelf whose payloads hold size bytes and their padding, or null.
    PacketShelf* ShelfFitting(size_t size) noexcept;
    // The shelf whose payloads have capacity bytes exactly, or null.
    PacketShelf* ShelfHolding(size_t capacity) noexcept;

    std::array<PacketShelf, 5> m_shelves; // 4 KiB to 64 KiB
};

} // namespace Proc
} // namespace Vantor
