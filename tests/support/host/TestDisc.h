// The disc the fault and concurrency tests play: three audio tracks, the second with an INDEX 00
// pregap, as one BINARY file or as one WAVE file per track.
#pragma once

#include "mkdisc/DiscWriter.h"

#include <cstdint>
#include <filesystem>

namespace reliability {

struct TestDisc
{
    mkdisc::DiscDescription description;
    mkdisc::WrittenDisc written;
    mkdisc::DiscLayout layout;

    TestDisc(const std::filesystem::path& directory, mkdisc::DataFileFormat format, bool filePerTrack);

    const mkdisc::TrackLayout& track(unsigned number) const { return layout.tracks.at(number - 1); }
    // The data file that holds a track's sector k, and the byte offset where that sector begins.
    std::filesystem::path dataFileOf(unsigned number) const;
    uint64_t byteOffsetOf(unsigned number, uint32_t k) const;
    mkdisc::Sector sector(unsigned number, uint32_t k) const;
};

} // namespace reliability
