// The container description a parser hands to the host.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"
#include "Vantor/Core/Interfaces/Property.h"

#include <string>

namespace Vantor {
namespace Conf {

class VANTOR_API IFormatFile : public virtual IRefCountable
{
public:
    // A new, empty description whose root property is a PROPERTY_TYPE_NODE.
    static SP<IFormatFile> Create();

    virtual Core::Property& GetProperty() = 0;
    virtual const Core::Property& GetProperty() const = 0;

    virtual void SetVantorSpecificMetadata(const std::string& metadata) = 0;
    virtual const std::string& GetVantorSpecificMetadata() const = 0;

    // The implementation name of the CD track parser.
    static const std::string PARSER_LIBCUEIFY_IMPL;

    static const std::string TAG_CONTAINER;
    static const std::string TAG_TITLE;
    static const std::string TAG_ARTIST;
    static const std::string TAG_ALBUM;
    static const std::string TAG_ALBUM_ARTIST;
    static const std::string TAG_COMMENT;
    static const std::string TAG_COMPOSER;
    static const std::string TAG_COPYRIGHT;
    static const std::string TAG_CREATION_TIME;
    static const std::string TAG_DATE;
    static const std::string TAG_DISC;
    static const std::string TAG_ENCODER;
    static const std::string TAG_ENCODED_BY;
    static const std::string TAG_ENCRYPTION;
    static const std::string TAG_GENRE;
    static const std::string TAG_PERFORMER;
    static const std::string TAG_PUBLISHER;
    static const std::string TAG_TRACK;
    static const std::string TAG_SERVICE_NAME;
    static const std::string TAG_SERVICE_PROVIDER;
    static const std::string TAG_VARIANT_BITRATE;
    static const std::string TAG_FILENAME;
    static const std::string TAG_FILE_EXTENSION;
    static const std::string TAG_FORMAT_FILE_SIZE;
};

} // namespace Conf
} // namespace Vantor
