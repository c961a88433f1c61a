// Disc images written by mkdisc at test time, and what their tracks must play back as.
#pragma once

#include "mkdisc/DiscWriter.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vantorcd::test {

struct TestDisc
{
    mkdisc::DiscSpec spec;
    mkdisc::WrittenDisc written;
    mkdisc::DiscLayout layout;

    std::string cueSheet() const { return written.cueSheet.string(); }
    std::string trackPath(unsigned track) const
    {
        return "cdda://" + cueSheet() + "#track" + std::to_string(track) + ".cda";
    }
    const mkdisc::TrackLayout& track(unsigned number) const { return layout.tracks.at(number - 1); }

    // The track's sectors as the drive holds them: its PCM, byte for byte.
    std::vector<uint8_t> trackPcm(unsigned number) const
    {
        std::vector<uint8_t> pcm;
        const mkdisc::TrackLayout& where = track(number);
        for (uint32_t lba = where.startLba; lba < where.startLba + where.lengthSectors; ++lba) {
            const mkdisc::Sector sector = mkdisc::sectorAt(spec, lba);
            pcm.insert(pcm.end(), sector.begin(), sector.end());
        }
        return pcm;
    }
};

inline TestDisc writeTestDisc(const mkdisc::DiscSpec& spec, const std::filesystem::path& directory)
{
    return {spec, mkdisc::writeDisc(spec, directory), mkdisc::layoutOf(spec)};
}

// An enhanced CD: two audio tracks (the second with a stored pregap, which the first track's
// length then includes), and a data track in a second session.
inline mkdisc::DiscSpec enhancedDisc()
{
    mkdisc::DiscSpec spec;
    spec.name = "enhanced";
    mkdisc::TrackSpec first;
    first.sectors = 160;
    mkdisc::TrackSpec second;
    second.sectors = 230;
    second.storedPregapSectors = 30;
    mkdisc::TrackSpec data;
    data.mode = mkdisc::TrackMode::Mode1Raw;
    data.sectors = 90;
    spec.sessions = {{{first, second}}, {{data}}};
    return spec;
}

} // namespace vantorcd::test
