// The disc the fault and concurrency tests play: three audio tracks, the second with an INDEX 00
// pregap, as one BINARY file or as one WAVE file per track, written into a directory of its own.
#pragma once

#include "TrackWords.h"
#include "host/PluginHost.h"

#include "mkdisc/DiscWriter.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

namespace reliability {

struct TestDisc
{
    mkdisc::DiscDescription description;
    mkdisc::WrittenDisc written;
    mkdisc::DiscLayout layout = mkdisc::layoutOf(description);

    TestDisc(const std::filesystem::path& directory, mkdisc::DataFileFormat format, bool filePerTrack)
        : description{"disc",
                      testsupport::discOfTrackWords("audio:120 audio:300,pregap=30 audio:90").sessions,
                      format, filePerTrack},
          written(mkdisc::writeDisc(description, directory))
    {
    }

    const mkdisc::TrackLayout& track(unsigned number) const { return layout.tracks.at(number - 1); }

    // True when the packet holds exactly sector k of the track, stamped as the k-th packet of it.
    bool delivers(const Vantor::SP<Vantor::Proc::IDataPacket>& packet, unsigned number, uint32_t k) const
    {
        constexpr long long kSectorDuration = 13333; // µs, as the plug-in stamps its packets
        const mkdisc::Sector expected = mkdisc::sectorAt(description, track(number).startLba + k);
        return packet && packet->GetSize() == expected.size() &&
               std::equal(expected.begin(), expected.end(), packet->GetData()) &&
               packet->GetPts() == static_cast<long long>(k) * kSectorDuration;
    }

    // True when the parser plays the track on from its sector k to the end, every packet right.
    bool playsOn(Vantor::Proc::IParser& parser, unsigned number, uint32_t k) const
    {
        for (Vantor::SP<Vantor::Proc::IDataPacket> packet = parser.Read(); packet;
             packet = parser.Read(), ++k)
            if (!delivers(packet, number, k))
                return false;
        return k == track(number).lengthSectors;
    }

    // This process's open file descriptors on the disc's files. Only those count: sanitizer
    // runtimes open descriptors of their own (a symbolizer's pipes, for instance) whenever they like.
    size_t openDescriptors() const
    {
        const std::string prefix = std::filesystem::canonical(written.cueSheet.parent_path()).string() + "/";
        size_t count = 0;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
            const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), error);
            count += !error && target.string().compare(0, prefix.size(), prefix) == 0;
        }
        return count;
    }
};

} // namespace reliability
