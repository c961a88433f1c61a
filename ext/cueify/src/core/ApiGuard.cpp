#include "core/ApiGuard.h"

namespace cueify {

const char* reasonOf(int code) noexcept
{
    switch (code) {
    case CUEIFY_NO_DATA:
        return "the data requested is not present";
    case CUEIFY_ERR_BADARG:
        return "a bad argument";
    case CUEIFY_ERR_NOMEM:
        return "out of memory";
    case CUEIFY_ERR_NO_DEVICE:
        return "the device could not be opened";
    case CUEIFY_ERR_TRUNCATED:
        return "the serialized data was truncated";
    case CUEIFY_ERR_CORRUPTED:
        return "the serialized data was corrupted";
    case CUEIFY_ERR_TOOSMALL:
        return "the buffer is too small";
    case CUEIFY_ERR_INVALID_CDTEXT:
        return "the CD-Text data is invalid";
    default:
        return "an internal error";
    }
}

} // namespace cueify
