// A timed packet of media data.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"
#include "Vantor/Core/Interfaces/Types.h"

#include <cstddef>
#include <cstdint>

struct AVPacket;

namespace Vantor {
namespace Proc {

class VANTOR_API IDataPacket : public virtual IRefCountable
{
public:
    virtual MediaType GetMediaType() const = 0;
    virtual long long GetPts() const = 0;
    virtual long long GetDts() const = 0;
    virtual long long GetDuration() const = 0;
    virtual const uint8_t* GetData() const = 0;
    virtual size_t GetSize() const = 0;
    virtual bool IsKeyFrame() const = 0;
    // The packet itself; it stays owned by this object.
    virtual const AVPacket* GetAVPacket() const = 0;
};

} // namespace Proc
} // namespace Vantor
