#include "DiscRip.h"

#include "AccurateRipCrc.h"
#include "AtomicOutputFile.h"
#include "Interruption.h"
#include "PcmReader.h"
#include "ProgressBar.h"
#include "TrackFileName.h"
#include "UserError.h"

#include <unistd.h>

namespace vantorcd {
namespace {

struct Progress
{
    ProgressBar bar;
    uint64_t bytesBefore = 0; // of the tracks already ripped
};

std::vector<const TocTrack*> audioTracksOf(const DiscToc& disc)
{
    std::vector<const TocTrack*> audio;
    for (const TocTrack& track : disc.tracks)
        if (track.audio)
            audio.push_back(&track);
    return audio;
}

uint64_t audioBytesOf(const std::vector<const TocTrack*>& tracks)
{
    uint64_t bytes = 0;
    for (const TocTrack* track : tracks)
        bytes += uint64_t{track->lengthSectors} * kSamplesPerSector * kBytesPerSample;
    return bytes;
}

AudioTags tagsOf(const DiscToc& disc, const DiscRipPlan& plan, const TocTrack& track, size_t total)
{
    AudioTags tags = plan.discTags;
    tags.emplace_back("track", std::to_string(track.number) + "/" + std::to_string(total));
    if (!track.cdText.title.empty())
        tags.emplace_back("title", track.cdText.title);
    const std::string& artist =
        track.cdText.performer.empty() ? disc.identity.cdText.performer : track.cdText.performer;
    if (!artist.empty())
        tags.emplace_back("artist", artist);
    if (!track.isrc.empty())
        tags.emplace_back("isrc", track.isrc);
    return tags;
}

RippedTrack describe(const TocTrack& track, const DiscRipPlan& plan)
{
    RippedTrack ripped;
    ripped.number = track.number;
    ripped.fileName = trackFileName(track.number, track.cdText.title, plan.extension);
    ripped.sectors = track.lengthSectors;
    ripped.pregapSectors = track.pregapSectors.value_or(0);
    ripped.isrc = track.isrc;
    ripped.title = track.cdText.title;
    ripped.performer = track.cdText.performer;
    return ripped;
}

void copyTrack(PcmReader& reader, AudioFileWriter& writer, AccurateRipCrc& crc, Progress& progress,
               unsigned number)
{
    for (;;) {
        if (interruptionRequested())
            throw UserError("interrupted in track " + std::to_string(number) +
                            "; the tracks before it are complete and nothing of it was kept");
        const PcmChunk chunk = reader.next();
        if (chunk.size == 0)
            return;
        writer.write(chunk.data, chunk.size);
        crc.add(chunk.data, chunk.size);
        progress.bar.update(progress.bytesBefore + reader.bytesDone());
    }
}

RippedTrack ripTrack(Context& context, const OpenedDisc& disc, const DiscRipPlan& plan, const TocTrack& track,
                     const AccurateRipCrc& emptyCrc, size_t total, Progress& progress)
{
    RippedTrack ripped = describe(track, plan);
    const std::filesystem::path path = plan.folder / ripped.fileName;
    AtomicOutputFile file(path);
    AudioFileWriter writer(file.temporaryPath(), plan.format, path.string(),
                           tagsOf(disc.toc, plan, track, total));
    const uint64_t samples = uint64_t{track.lengthSectors} * kSamplesPerSector;
    PcmReader reader(openTrackParser(context, disc, track.number),
                     TrackExtent{track.number, track.startLba, track.lengthSectors}, SampleRange{0, samples},
                     [&context] { return context.lastLoggedError(); });
    AccurateRipCrc crc = emptyCrc;
    copyTrack(reader, writer, crc, progress, track.number);
    writer.finish();
    file.commit();
    ripped.crc32 = crc.crc32();
    ripped.accurateRipV1 = crc.v1();
    ripped.accurateRipV2 = crc.v2();
    ripped.rereads = reader.rereads();
    progress.bytesBefore += samples * kBytesPerSample;
    return ripped;
}

} // namespace

std::vector<RippedTrack> ripAudioTracks(Context& context, const OpenedDisc& disc, const DiscRipPlan& plan,
                                        const AccurateRipReply& reply)
{
    const std::vector<const TocTrack*> audio = audioTracksOf(disc.toc);
    if (audio.empty())
        throw UserError("the disc in " + disc.toc.drive + " has no audio tracks");
    Progress progress{ProgressBar(audioBytesOf(audio), ::isatty(STDERR_FILENO) == 1)};
    std::vector<RippedTrack> ripped;
    for (const TocTrack* track : audio) {
        const AccurateRipCrc crc(uint64_t{track->lengthSectors} * kSamplesPerSector, track == audio.front(),
                                 track == audio.back());
        ripped.push_back(ripTrack(context, disc, plan, *track, crc, audio.size(), progress));
        RippedTrack& last = ripped.back();
        last.verdict = verdictOf(reply, last.number, last.accurateRipV1, last.accurateRipV2);
    }
    progress.bar.finish();
    return ripped;
}

} // namespace vantorcd
