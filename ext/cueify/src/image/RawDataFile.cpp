#include "image/RawDataFile.h"

#include <algorithm>
#include <utility>

namespace cueify {

bool RawDataFile::read(uint64_t offset, uint8_t* buffer, size_t length) noexcept
{
    if (offset > m_bytes || length > m_bytes - offset)
        return false;
    // Swapped samples are read whole: sectors of every size start and end between samples.
    if (m_order == SampleOrder::Swapped && (offset % 2 != 0 || length % 2 != 0))
        return false;
    if (!m_file.readExact(m_offset + offset, buffer, length))
        return false;
    if (m_order == SampleOrder::Swapped) {
        for (size_t i = 0; i < length; i += 2)
            std::swap(buffer[i], buffer[i + 1]);
    }
    return true;
}

} // namespace cueify
