// A parser: one opened media input, described to the host and read packet by packet.
#pragma once

#include "Vantor/Conf/IFormatCodec.h"
#include "Vantor/Conf/IFormatFile.h"
#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"
#include "Vantor/Core/Interfaces/Property.h"
#include "Vantor/Core/Interfaces/Types.h"
#include "Vantor/Proc/IDataPacket.h"

#include <cstdint>

namespace Vantor {
namespace Proc {

class VANTOR_API IParser : public virtual IRefCountable
{
public:
    virtual avTime GetDuration() const = 0;
    virtual avTime GetStreamDuration(Index stream) const = 0;
    // Bytes of the whole input.
    virtual int64_t GetSize() const = 0;
    virtual SP<Conf::IFormatFile> GetFormatFile() const = 0;
    virtual Index GetStreamCount() const = 0;
    virtual MediaType GetStreamType(Index stream) const = 0;
    virtual SP<Conf::IFormatCodec> GetStreamExtInfo(Index stream) const = 0;
    // The stream by which the host seeks.
    virtual Index GetSeekStream() = 0;
    virtual Core::Property GetStatistic() const = 0;
    virtual void Seek(Index stream, avTime time) = 0;
    // The next packet, or null when there is none to give.
    virtual SP<IDataPacket> Read() = 0;
};

} // namespace Proc
} // namespace Vantor
