// Where an AIFF or AIFC data file keeps its samples. AIFF and uncompressed AIFC hold them
// big-endian; AIFC 'sowt' holds them little-endian, as a CD's sectors do.
#pragma once

#include "image/FileDescriptor.h"
#include "image/PcmData.h"

namespace cueify {

// True when the file starts as an AIFF or AIFC file.
bool isAiff(const FileDescriptor& file) noexcept;

// Throws Failure (CUEIFY_ERR_NO_DEVICE) for a file that is no AIFF or AIFC, lacks its "COMM" or "SSND" chunk,
// is compressed, or holds samples in any format other than a CD's.
PcmData findAiffSamples(const FileDescriptor& file);

} // namespace cueify
