#include "core/PlainToc.h"

#include "core/Failure.h"
#include "core/TocLookup.h"

#include <cueify/constants.h>
#include <cueify/error.h>

#include <algorithm>
#include <cstring>

namespace cueify {
namespace {

constexpr size_t kHeaderBytes = 4;
constexpr size_t kEntryBytes = 8;
constexpr uint8_t kLastTrackNumber = 99;

PlainTocEntry entryOf(const TocTrack& track)
{
    return {track.subQFormat, track.control, toLba(track.start).value};
}

void putEntry(std::vector<uint8_t>& bytes, uint8_t number, const PlainTocEntry& entry)
{
    const uint8_t data[kEntryBytes] = {0,
                                       static_cast<uint8_t>(entry.adr << 4 | (entry.control & 0x0F)),
                                       number,
                                       0,
                                       static_cast<uint8_t>(entry.lba >> 24),
                                       static_cast<uint8_t>(entry.lba >> 16),
                                       static_cast<uint8_t>(entry.lba >> 8),
                                       static_cast<uint8_t>(entry.lba)};
    bytes.insert(bytes.end(), data, data + kEntryBytes);
}

PlainTocEntry entryAt(const uint8_t* bytes)
{
    const uint32_t lba =
        uint32_t{bytes[4]} << 24 | uint32_t{bytes[5]} << 16 | uint32_t{bytes[6]} << 8 | bytes[7];
    return {static_cast<uint8_t>(bytes[1] >> 4), static_cast<uint8_t>(bytes[1] & 0x0F), lba};
}

std::vector<uint8_t> withHeader(uint8_t first, uint8_t last, size_t entries)
{
    const size_t length = kHeaderBytes - 2 + entries * kEntryBytes;
    std::vector<uint8_t> bytes = {static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length), first,
                                  last};
    bytes.reserve(length + 2);
    return bytes;
}

// The number of entry bytes after the header, checked against the length field.
size_t entryBytesOf(const uint8_t* bytes, size_t size)
{
    if (!bytes || size < kHeaderBytes)
        throw Failure(CUEIFY_ERR_TRUNCATED, "a TOC shorter than its 4-byte header");
    const size_t length = size_t{bytes[0]} << 8 | bytes[1];
    if (length > size - 2)
        throw Failure(CUEIFY_ERR_TRUNCATED, "a TOC shorter than its length field says");
    if (length < kHeaderBytes - 2 || (length - 2) % kEntryBytes != 0)
        throw Failure(CUEIFY_ERR_CORRUPTED, "TOC entries that are not 8 bytes each");
    return length - 2;
}

} // namespace

PlainToc plainTocOf(const FullTocData& toc)
{
    PlainToc plain;
    if (toc.tracks.empty() || toc.sessions.empty())
        return plain;
    plain.firstTrack = toc.tracks.front().number;
    plain.lastTrack = toc.tracks.back().number;
    for (const TocTrack& track : toc.tracks)
        plain.tracks[track.number] = entryOf(track);
    plain.leadOut = {1, toc.tracks.back().control, toLba(toc.sessions.back().leadOut).value};
    return plain;
}

SessionsRecord sessionsOf(const FullTocData& toc)
{
    SessionsRecord record;
    if (toc.sessions.empty())
        return record;
    record.firstSession = toc.firstSession;
    record.lastSession = toc.lastSession;
    if (const TocTrack* first = findTrack(toc, toc.sessions.back().firstTrack)) {
        record.lastSessionFirstTrack = entryOf(*first);
        record.lastSessionTrackNumber = first->number;
    }
    return record;
}

std::vector<uint8_t> serialize(const PlainToc& toc)
{
    const uint8_t last = std::min(toc.lastTrack, kLastTrackNumber);
    const size_t tracks = last >= toc.firstTrack && toc.firstTrack > 0 ? last - toc.firstTrack + 1u : 0;
    std::vector<uint8_t> bytes = withHeader(toc.firstTrack, toc.lastTrack, tracks + 1);
    for (size_t n = 0; n < tracks; ++n)
        putEntry(bytes, static_cast<uint8_t>(toc.firstTrack + n), toc.tracks[toc.firstTrack + n]);
    putEntry(bytes, CUEIFY_LEAD_OUT_TRACK, toc.leadOut);
    return bytes;
}

PlainToc deserializePlainToc(const uint8_t* bytes, size_t size)
{
    const size_t entryBytes = entryBytesOf(bytes, size);
    PlainToc toc;
    toc.firstTrack = bytes[2];
    toc.lastTrack = bytes[3];
    for (size_t offset = kHeaderBytes; offset < kHeaderBytes + entryBytes; offset += kEntryBytes) {
        const uint8_t number = bytes[offset + 2];
        if (number == CUEIFY_LEAD_OUT_TRACK)
            toc.leadOut = entryAt(bytes + offset);
        else if (number >= 1 && number <= kLastTrackNumber)
            toc.tracks[number] = entryAt(bytes + offset);
        else
            throw Failure(CUEIFY_ERR_CORRUPTED, "a TOC entry for track " + std::to_string(number));
    }
    return toc;
}

std::vector<uint8_t> serialize(const SessionsRecord& sessions)
{
    std::vector<uint8_t> bytes = withHeader(sessions.firstSession, sessions.lastSession, 1);
    putEntry(bytes, sessions.lastSessionTrackNumber, sessions.lastSessionFirstTrack);
    return bytes;
}

SessionsRecord deserializeSessions(const uint8_t* bytes, size_t size)
{
    if (entryBytesOf(bytes, size) != kEntryBytes)
        throw Failure(CUEIFY_ERR_CORRUPTED, "a multisession record of other than one entry");
    SessionsRecord sessions;
    sessions.firstSession = bytes[2];
    sessions.lastSession = bytes[3];
    sessions.lastSessionTrackNumber = bytes[kHeaderBytes + 2];
    sessions.lastSessionFirstTrack = entryAt(bytes + kHeaderBytes);
    return sessions;
}

void copySerialized(const std::vector<uint8_t>& bytes, uint8_t* buffer, size_t* size)
{
    const size_t capacity = *size;
    *size = bytes.size();
    if (!buffer)
        return;
    if (capacity < bytes.size())
        throw Failure(CUEIFY_ERR_TOOSMALL, "a buffer of " + std::to_string(capacity) + " bytes for " +
                                               std::to_string(bytes.size()) + " bytes of data");
    std::memcpy(buffer, bytes.data(), bytes.size());
}

} // namespace cueify
