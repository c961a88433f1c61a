#include "DiscRip.h"

#include "AccurateRipCrc.h"
#include "AtomicOutputFile.h"
#include "DriveAudio.h"
#include "Interruption.h"
#include "OffsetCorrection.h"
#include "ProgressBar.h"
#include "SampleRange.h"
#include "TrackFileName.h"
#include "UserError.h"

#include <algorithm>
#include <optional>

#include <unistd.h>

namespace vantorcd {
namespace {

struct Progress
{
    ProgressBar bar;
    uint64_t bytesDone = 0;
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

void copyTrack(OffsetCorrection& audio, const TocTrack& track, AudioFileWriter& writer, AccurateRipCrc& crc,
               Progress& progress)
{
    SectorBytes sector;
    for (uint32_t lba = track.startLba; lba < track.startLba + track.lengthSectors; ++lba) {
        if (interruptionRequested())
            throw UserError("interrupted in track " + std::to_string(track.number) +
                            "; the tracks before it are complete and nothing of it was kept");
        audio.read(lba, sector);
        writer.write(sector.data(), sector.size());
        crc.add(sector.data(), sector.size());
        progress.bytesDone += sector.size();
        progress.bar.update(progress.bytesDone);
    }
}

RippedTrack ripTrack(const DiscToc& disc, const DiscRipPlan& plan, const TocTrack& track,
                     OffsetCorrection& audio, AccurateRipCrc crc, size_t total, Progress& progress)
{
    RippedTrack ripped = describe(track, plan);
    const std::filesystem::path path = plan.folder / ripped.fileName;
    AtomicOutputFile file(path);
    AudioFileWriter writer(file.temporaryPath(), plan.format, path.string(),
                           tagsOf(disc, plan, track, total));
    copyTrack(audio, track, writer, crc, progress);
    writer.finish();
    file.commit();
    ripped.crc32 = crc.crc32();
    ripped.accurateRipV1 = crc.v1();
    ripped.accurateRipV2 = crc.v2();
    return ripped;
}

std::vector<uint8_t> audioBeforeTrackOne(OffsetCorrection& audio, const TocTrack& first)
{
    std::vector<uint8_t> pcm;
    SectorBytes sector;
    for (uint32_t lba = 0; lba < first.startLba; ++lba) {
        if (interruptionRequested())
            throw UserError("interrupted in the audio before track 1; nothing was written");
        audio.read(lba, sector);
        pcm.insert(pcm.end(), sector.begin(), sector.end());
    }
    return pcm;
}

// The pregap of track 1 becomes track 0's file when it holds anything but silence.
std::optional<RippedTrack> ripHiddenAudio(const DiscRipPlan& plan, const TocTrack& first,
                                          OffsetCorrection& audio)
{
    if (first.number != 1 || first.startLba == 0)
        return std::nullopt;
    const std::vector<uint8_t> pcm = audioBeforeTrackOne(audio, first);
    if (std::all_of(pcm.begin(), pcm.end(), [](uint8_t byte) { return byte == 0; }))
        return std::nullopt;
    RippedTrack hidden;
    hidden.fileName = trackFileName(0, "", plan.extension);
    hidden.sectors = first.startLba;
    const std::filesystem::path path = plan.folder / hidden.fileName;
    AtomicOutputFile file(path);
    AudioTags tags = plan.discTags;
    tags.emplace_back("track", "0");
    AudioFileWriter writer(file.temporaryPath(), plan.format, path.string(), tags);
    writer.write(pcm.data(), pcm.size());
    writer.finish();
    file.commit();
    AccurateRipCrc crc(pcm.size() / kBytesPerSample, false, false);
    crc.add(pcm.data(), pcm.size());
    hidden.crc32 = crc.crc32();
    return hidden;
}

} // namespace

std::vector<RippedTrack> ripAudioTracks(Context& context, const OpenedDisc& disc, const DiscRipPlan& plan,
                                        const AccurateRipReply& reply)
{
    const std::vector<const TocTrack*> audio = audioTracksOf(disc.toc);
    if (audio.empty())
        throw UserError("the disc in " + disc.toc.drive + " has no audio tracks");
    Progress progress{ProgressBar(audioBytesOf(audio), ::isatty(STDERR_FILENO) == 1)};
    DriveAudio delivered(
        audio,
        [&context, &disc](const TocTrack& track) { return openTrackParser(context, disc, track.number); },
        [&context] { return context.lastLoggedError(); }, RawSectorReader(disc.handle), plan.secure);
    // A drive reads no further than the last audio track's end: past it the corrected audio is silence.
    OffsetCorrection corrected(
        [&delivered](uint32_t lba, SectorBytes& sector) { delivered.read(lba, sector); }, plan.readOffset,
        audio.back()->startLba + audio.back()->lengthSectors);
    std::vector<RippedTrack> ripped;
    if (std::optional<RippedTrack> hidden = ripHiddenAudio(plan, *audio.front(), corrected))
        ripped.push_back(*hidden);
    for (const TocTrack* track : audio) {
        const AccurateRipCrc crc(uint64_t{track->lengthSectors} * kSamplesPerSector, track == audio.front(),
                                 track == audio.back());
        ripped.push_back(ripTrack(disc.toc, plan, *track, corrected, crc, audio.size(), progress));
    }
    for (RippedTrack& track : ripped) {
        if (track.number == 0)
            continue;
        track.rereads = delivered.rereadsOf(track.number);
        track.verdict = verdictOf(reply, track.number, track.accurateRipV1, track.accurateRipV2);
    }
    progress.bar.finish();
    return ripped;
}

} // namespace vantorcd
