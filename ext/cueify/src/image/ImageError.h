// Why a disc image cannot be opened: a malformed CUE sheet, a missing data file, tracks
// that do not fit their file. The C API reports all of them as CUEIFY_ERR_NO_DEVICE.
#pragma once

#include <stdexcept>

namespace cueify {

class ImageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace cueify
