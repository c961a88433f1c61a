// Basic value types shared by the whole host framework.
#pragma once

#include <cstdint>

namespace Vantor {

// Media time: microseconds.
typedef int64_t avTime;

// A stream index, or a 1-based track number.
typedef uint32_t Index;

enum MediaType : int32_t
{
    MEDIA_TYPE_UNKNOWN = 0,
    MEDIA_TYPE_VIDEO = 1,
    MEDIA_TYPE_AUDIO = 2,
    MEDIA_TYPE_SUBTITLE = 3,
    MEDIA_TYPE_DATA = 4
};

// What a property node holds.
enum PropertyTypes : int32_t
{
    PROPERTY_TYPE_EMPTY = 0,
    PROPERTY_TYPE_INTEGER = 1, // long long
    PROPERTY_TYPE_DOUBLE = 2,
    PROPERTY_TYPE_STRING = 3,
    PROPERTY_TYPE_BOOL = 4,
    PROPERTY_TYPE_BINARY = 5,
    PROPERTY_TYPE_NODE = 6 // holds children
};

} // namespace Vantor
