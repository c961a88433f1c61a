// Error information attached to exceptions. A diagnostic shows each item as
// "[<tag type>*] = <value>", so the tag types carry the names hosts look for.
#pragma once

#include "Vantor/Core/Interfaces/Types.h"

#include <boost/exception/error_info.hpp>

#include <cstdint>
#include <string>

namespace Vantor {

struct TagDescription;
struct TagCallStack;
struct TagFilename;

typedef boost::error_info<TagDescription, std::string> ErrorDescription;
typedef boost::error_info<TagCallStack, std::string> ErrorCallStack;
// A path, as UTF-8.
typedef boost::error_info<TagFilename, std::string> ErrorFilename;

namespace Proc {

// Unscoped, so that a diagnostic prints the number.
enum TranscodingErrors : int32_t
{
    TRANSCODING_ERROR_NONE = 0,
    TRANSCODING_ERROR_OPEN_INPUT = 37
};

struct TagStreamIndex;
struct TagTranscodingErrorCode;

typedef boost::error_info<TagStreamIndex, Vantor::Index> ErrorStreamIndex;
typedef boost::error_info<TagTranscodingErrorCode, TranscodingErrors> ErrorTranscodingCode;

} // namespace Proc
} // namespace Vantor
