// vantor-cd rip-disc [DISC] [-o DIR] [--format flac|wav|aiff] [--accuraterip FILE|URL]
// [--offset SAMPLES]: every audio track of a disc in one run, with a CUE sheet of the rip and a log
// that verifies it.
#include "AccurateRipId.h"
#include "AccurateRipReply.h"
#include "Commands.h"
#include "DiscRip.h"
#include "DriveSpeed.h"
#include "Interruption.h"
#include "RipCueSheet.h"
#include "RipLog.h"
#include "TrackFileName.h"
#include "UserError.h"
#include "WholeTextFile.h"

#include <discgeometry/DiscGeometry.h>
#include <iostream>
#include <memory>

namespace vantorcd {
namespace {

struct RipDiscOptions
{
    std::string disc;
    std::string folder;
    std::string format = "flac";
    std::string accurateRip;
    int32_t offset = 0;
    bool force = false;
    unsigned speed = 0; // the drive's fastest
};

// Rips of different discs into one folder would mix their files and overwrite each other's log.
void prepareFolder(const std::filesystem::path& folder, bool force)
{
    std::error_code error;
    if (std::filesystem::exists(folder, error) && !std::filesystem::is_directory(folder, error))
        throw UserError(folder.string() + " is not a folder");
    if (!force && std::filesystem::exists(folder, error) && !std::filesystem::is_empty(folder, error))
        throw UserError(folder.string() + " already holds files; choose another folder or add --force");
    std::filesystem::create_directories(folder, error);
    if (error)
        throw UserError("cannot create " + folder.string() + ": " + error.message());
}

AudioTags discTagsOf(const DiscIdentity& identity, const AccurateRipId& accurateRip)
{
    AudioTags tags{{"musicbrainz_discid", identity.musicbrainzId},
                   {"cddb_discid", hex8(identity.freedbId)},
                   {"accuraterip_discid", accurateRip.fileName()}};
    if (!identity.mcn.empty())
        tags.emplace_back("mcn", identity.mcn);
    if (!identity.cdText.title.empty())
        tags.emplace_back("album", identity.cdText.title);
    if (!identity.cdText.performer.empty())
        tags.emplace_back("album_artist", identity.cdText.performer);
    return tags;
}

AccurateRipReply replyFor(const std::string& source, const AccurateRipId& disc)
{
    if (source.empty())
        return {};
    AccurateRipReply reply = loadAccurateRipReply(source, disc);
    if (!reply.received || reply.responses.empty())
        std::cerr << "vantor-cd: " << reply.note << "; ripping on" << std::endl;
    return reply;
}

RipLogHeader logHeaderOf(const DiscToc& disc, const AccurateRipId& accurateRip, const AccurateRipReply& reply,
                         int32_t offset)
{
    RipLogHeader header;
    header.readOffset = offset;
    header.source = disc.drive;
    header.drive = !isDiscImage(disc.drive);
    header.musicbrainzId = disc.identity.musicbrainzId;
    header.freedbId = disc.identity.freedbId;
    header.accurateRipId = accurateRip.fileName();
    header.mcn = disc.identity.mcn;
    header.accurateRipNote = reply.note;
    return header;
}

void report(const std::vector<RippedTrack>& tracks, const std::filesystem::path& folder)
{
    for (const RippedTrack& track : tracks)
        std::cout << "track " << track.number << ": " << (folder / track.fileName).string() << "  "
                  << track.verdict << "\n";
}

void runRipDisc(Context& context, const RipDiscOptions& options)
{
    catchInterruptions(); // from here on Ctrl-C ends the rip between sectors, leaving no partial file
    DiscRipPlan plan{options.folder.empty() ? "." : options.folder,
                     outputFormatFor("x." + options.format),
                     options.format,
                     {}};
    prepareFolder(plan.folder, options.force);
    const OpenedDisc disc =
        openDisc(context, options.disc.empty() ? context.demoDisc() : options.disc, DiscDetail::Identity);
    const AccurateRipId accurateRip = accurateRipIdOf(disc.toc, disc.toc.identity.freedbId);
    const AccurateRipReply reply = replyFor(options.accurateRip, accurateRip);
    plan.discTags = discTagsOf(disc.toc.identity, accurateRip);
    plan.readOffset = options.offset;
    plan.secure = !isDiscImage(disc.toc.drive);
    const HeldSpeed speed(*disc.handle, options.speed);
    const std::vector<RippedTrack> tracks = ripAudioTracks(context, disc, plan, reply);
    const std::string title = safeForFileName(disc.toc.identity.cdText.title);
    const std::string cueName = (title.empty() ? "disc" : title) + ".cue";
    writeWholeTextFile(plan.folder / cueName, ripCueSheet(disc.toc.identity, tracks));
    writeWholeTextFile(plan.folder / "rip.log",
                       ripLogText(logHeaderOf(disc.toc, accurateRip, reply, options.offset), tracks));
    report(tracks, plan.folder);
}

} // namespace

void addRipDiscCommand(CLI::App& app, Context& context)
{
    auto options = std::make_shared<RipDiscOptions>();
    CLI::App* command = app.add_subcommand(
        "rip-disc",
        "Rip every audio track of a disc into a folder, with a CUE sheet and a log; the demo by default");
    command->add_option("DISC", options->disc, "a drive, a CUE sheet or a virtual-drive folder");
    command->add_option("-o,--output", options->folder,
                        "the folder to write (default: here); created if missing");
    command->add_option("--format", options->format, "flac (default), wav or aiff")
        ->check(CLI::IsMember({"flac", "wav", "aiff"}));
    command->add_option(
        "--accuraterip", options->accurateRip,
        "AccurateRip's reply for the disc: a dBAR file or its URL, to verify the rip against");
    command
        ->add_option(
            "--offset", options->offset,
            "the drive's read offset in samples, corrected in the files, their CRCs and the verification")
        ->check(
            CLI::Range(-5 * int{discgeometry::kSamplesPerSector}, 5 * int{discgeometry::kSamplesPerSector}));
    command->add_flag("--force", options->force, "write into a folder that already holds files");
    addSpeedOption(*command, options->speed);
    command->callback([&context, options] { runRipDisc(context, *options); });
}

} // namespace vantorcd
