#include "image/ReadAheadFile.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace cueify {

bool ReadAheadFile::readExact(uint64_t offset, uint8_t* buffer, size_t length) noexcept
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const bool inOrder = offset == m_nextOffset;
    m_nextOffset = offset + length;
    if (copyFromBlock(offset, buffer, length))
        return true;
    if (inOrder && fillBlock(offset) && length <= m_blockBytes) {
        std::memcpy(buffer, m_block.get(), length);
        return true;
    }
    return m_file.readExact(offset, buffer, length);
}

bool ReadAheadFile::copyFromBlock(uint64_t offset, uint8_t* buffer, size_t length) noexcept
{
    if (m_blockBytes == 0 || offset < m_blockStart || offset - m_blockStart > m_blockBytes ||
        length > m_blockBytes - (offset - m_blockStart))
        return false;
    uint64_t fileBytes = 0;
    if (!m_file.sizeNow(fileBytes) || fileBytes < offset + length) {
        m_blockBytes = 0; // the file shrank: what it held past its end is gone
        return false;
    }
    std::memcpy(buffer, m_block.get() + (offset - m_blockStart), length);
    return true;
}

bool ReadAheadFile::fillBlock(uint64_t offset) noexcept
{
    m_blockBytes = 0;
    if (!m_block)
        m_block.reset(new (std::nothrow) uint8_t[kBlockBytes]);
    uint64_t fileBytes = 0;
    if (!m_block || !m_file.sizeNow(fileBytes))
        return false;
    const uint64_t end = std::min(m_end, fileBytes);
    if (offset >= end)
        return false;
    const size_t bytes = static_cast<size_t>(std::min<uint64_t>(kBlockBytes, end - offset));
    if (!m_file.readExact(offset, m_block.get(), bytes))
        return false;
    m_blockStart = offset;
    m_blockBytes = bytes;
    return true;
}

} // namespace cueify
