// A file read in large blocks while it is read in order, as a drive reads ahead, so that a
// player's one-sector reads cost a copy rather than a read from the page cache each.
//
// A file truncated under a reader fails every read past its new end and never gives a short
// or stale sector, as a plain pread would: each read served from the block read ahead first
// asks the file's size now. What is not asked, because asking costs as much again as a read,
// is whether bytes were overwritten in place without a change of size: those show once the
// reader moves past the block it holds, at most kBlockBytes (about 3 seconds of audio) later.
// A plain pread gives no clean answer there either: a sector read during such a write may hold
// part of the old bytes and part of the new.
#pragma once

#include "image/FileDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

namespace cueify {

class ReadAheadFile
{
public:
    static constexpr size_t kBlockBytes = 512 * 1024;

    // end: the offset past the last byte worth reading ahead (the end of the samples).
    ReadAheadFile(FileDescriptor file, uint64_t end) noexcept : m_file(std::move(file)), m_end(end) {}

    // True only when all length bytes at offset were read. Several threads may read at once.
    bool readExact(uint64_t offset, uint8_t* buffer, size_t length) noexcept;

private:
    bool copyFromBlock(uint64_t offset, uint8_t* buffer, size_t length) noexcept;
    bool fillBlock(uint64_t offset) noexcept;

    FileDescriptor m_file;
    uint64_t m_end = 0;
    std::mutex m_mutex; // guards what follows
    std::unique_ptr<uint8_t[]> m_block;
    uint64_t m_blockStart = 0;
    size_t m_blockBytes = 0;
    uint64_t m_nextOffset = 0; // where a read in order goes on
};

} // namespace cueify
