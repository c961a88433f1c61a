// The description of one stream of a container.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"
#include "Vantor/Core/Interfaces/Property.h"

#include <string>

namespace Vantor {
namespace Conf {

class VANTOR_API IFormatCodec : public virtual IRefCountable
{
public:
    virtual Core::Property& GetProperty() = 0;
    virtual const Core::Property& GetProperty() const = 0;

    // The stream settings (stream id and the like), a node of its own.
    virtual Core::Property GetStreamSettings() const = 0;
    virtual void SetStreamSettings(const Core::Property& settings) = 0;

    static const std::string TAG_STREAM_ID;
    static const std::string TAG_CODEC_ID;
    static const std::string TAG_CONTAINER_NAME;
    static const std::string TAG_GLOBAL_HEADER;
    static const std::string TAG_BITRATE_MODE;
    static const std::string TAG_BITRATE;
    static const std::string TAG_MAIN_STREAM;
    static const std::string TAG_DEFAULT_STREAM;

    static const std::string TAG_BITRATE_MODE_CBR;
    static const std::string TAG_BITRATE_MODE_VBR;
};

} // namespace Conf
} // namespace Vantor
