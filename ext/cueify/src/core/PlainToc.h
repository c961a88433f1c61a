// The plain TOC (READ TOC format 0) and the multisession record (format 1), as plain data, and
// their byte forms: the reply a drive sends is also the serialized form.
#pragma once

#include "core/FullTocData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace cueify {

struct PlainTocEntry
{
    uint8_t adr = 0;
    uint8_t control = 0;
    uint32_t lba = 0;
};

struct PlainToc
{
    uint8_t firstTrack = 0;
    uint8_t lastTrack = 0;
    std::array<PlainTocEntry, 100> tracks{}; // by track number; 0 unused
    PlainTocEntry leadOut;
};

struct SessionsRecord
{
    uint8_t firstSession = 0;
    uint8_t lastSession = 0;
    PlainTocEntry lastSessionFirstTrack;
    uint8_t lastSessionTrackNumber = 0;
};

// What a drive holding the disc of this full TOC answers: the disc's first and last track, and
// the last session's lead-out, which carries the last track's CONTROL.
PlainToc plainTocOf(const FullTocData& toc);
SessionsRecord sessionsOf(const FullTocData& toc);

// The reply bytes. Throws Failure: CUEIFY_ERR_TRUNCATED when the length field claims more than
// the bytes given, CUEIFY_ERR_CORRUPTED when the entries do not fit the format or name tracks
// outside 1 to 99 and the lead-out.
std::vector<uint8_t> serialize(const PlainToc& toc);
PlainToc deserializePlainToc(const uint8_t* bytes, size_t size);
std::vector<uint8_t> serialize(const SessionsRecord& sessions);
SessionsRecord deserializeSessions(const uint8_t* bytes, size_t size);

// Copies bytes to buffer when *size holds them, as the C API's serializers do; *size becomes
// the bytes needed. A null buffer only asks for the size. Throws Failure (CUEIFY_ERR_TOOSMALL)
// when the buffer is smaller.
void copySerialized(const std::vector<uint8_t>& bytes, uint8_t* buffer, size_t* size);

} // namespace cueify
