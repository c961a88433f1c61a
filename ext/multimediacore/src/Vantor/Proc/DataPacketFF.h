// Packets backed by FFmpeg's AVPacket.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Proc/IDataPacket.h"

struct AVPacket;

namespace Vantor {
namespace Proc {

// Allocates a packet whose payload holds size bytes. Throws std::bad_alloc when memory runs out.
VANTOR_API AVPacket* CreatePacket(unsigned long size);

// Returns a packet made by CreatePacket to the allocator; null is ignored.
VANTOR_API void ReleasePacket(AVPacket* packet) noexcept;

class VANTOR_API DataPacketFF : public IDataPacket
{
public:
    // Takes the packet over (also when it throws) and frees it with the last reference.
    static SP<IDataPacket> Create(AVPacket* packet, MediaType type, long long pts, long long dts,
                                  long long duration);
};

} // namespace Proc
} // namespace Vantor
