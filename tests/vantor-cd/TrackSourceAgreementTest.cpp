// vantor-cd and the plug-in decide alike which drive and track a track path or a .cda file names:
// each input is opened by the plug-in loaded into this process, as any host opens it, and given to
// `vantor-cd info`, and both must find the same disc and track or both refuse it.
#include "RunCommand.h"

#include "host/PluginHost.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <unistd.h>

namespace vantorcd {
namespace {

// Discs whose tracks all last different whole seconds, so that a track's duration tells which disc
// and track was opened. Disc d's .cda files lie apart from its drive, as when they are copied off a
// disc; the folders of b and of the last hold the extension and the track prefix. a, b and d are
// virtual drives.
const std::pair<std::string, std::vector<int>> kDiscs[] = {
    {"a", {1, 2, 3}}, {"b.cda", {4, 5, 6}}, {"d", {7, 8}}, {"h#track2", {9}}};

// "a 2" for track 2 of disc a.
std::string discTrackLasting(int64_t durationUs)
{
    for (const auto& [disc, seconds] : kDiscs)
        for (size_t i = 0; i < seconds.size(); ++i)
            if (seconds[i] * int64_t{1000000} == durationUs)
                return disc + " " + std::to_string(i + 1);
    return "a track of " + std::to_string(durationUs) + " us";
}

class TrackSourceAgreement : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const auto& [disc, seconds] : kDiscs) {
            std::string tracks;
            for (const int length : seconds)
                tracks += " audio:" + std::to_string(length * 75);
            ASSERT_EQ(sh(quoted(VANTOR_CD_MKDISC) + " --out " + quoted(drive(disc)) + tracks).exitCode, 0);
        }
        std::filesystem::create_directory(root / "d-cda");
        for (const char* file : {"Track01.cda", "Track02.cda"})
            std::filesystem::rename(root / "d" / file, root / "d-cda" / file);
        ASSERT_EQ(setenv("CUEIFY_VIRTUAL_DRIVES", drives.c_str(), 1), 0);
        ASSERT_EQ(chdir(root.c_str()), 0); // relative inputs name the same files for both
    }
    void TearDown() override
    {
        unsetenv("CUEIFY_VIRTUAL_DRIVES");
        EXPECT_EQ(chdir(home.c_str()), 0);
    }

    std::string drive(const std::string& name) const { return (root / name).string(); }

    // A copy of disc a's Track02.cda with bits of one byte flipped.
    std::string cdaFile(const std::string& name, size_t offset, uint8_t flipped) const
    {
        std::string bytes = readFile(root / "a" / "Track02.cda");
        bytes.at(offset) = static_cast<char>(bytes.at(offset) ^ flipped);
        return scratch.write(name, bytes).string();
    }

    // "a 2" for track 2 of disc a, or the plug-in's reason for refusing the input.
    std::string pluginOpens(const std::string& input) const
    {
        try {
            return discTrackLasting(host.open(input)->GetDuration());
        } catch (const std::exception& error) {
            const std::string description = reliability::descriptionOf(error);
            return description.empty() ? error.what() : description;
        }
    }

    // "a 2" when vantor-cd names disc a's drive and track 2 and the plug-in it runs opens that track,
    // or the line vantor-cd refuses the input with.
    std::string vantorCdFinds(const std::string& input) const
    {
        const Result info = run({"info", "--json", input},
                                onEmulatedDrives("/dev/sr7", {{"CUEIFY_VIRTUAL_DRIVES", drives}}), root);
        if (info.exitCode != 0)
            return info.err;
        const nlohmann::json json = nlohmann::json::parse(info.out);
        const std::filesystem::path found = root / json.at("drive").get<std::string>();
        const std::string disc = found.lexically_relative(root).begin()->string();
        const std::string opened = discTrackLasting(json.at("duration_us").get<int64_t>());
        const std::string named = disc + " " + std::to_string(json.at("number").get<int>());
        return named == opened ? named : "names " + named + " but opens " + opened;
    }

    const std::filesystem::path home = std::filesystem::current_path();
    testsupport::ScratchDirectory scratch;
    const std::filesystem::path root = std::filesystem::canonical(scratch.path());
    const std::string drives = drive("a") + ":" + drive("b.cda") + ":" + drive("d");
    const reliability::PluginHost host;
};

TEST_F(TrackSourceAgreement, BothFindTheSameDriveAndTrackOrBothRefuse)
{
    const std::string a = drive("a") + "/disc.cue", b = drive("b.cda") + "/disc.cue";
    const std::string trackPath = "cdda://" + a + "#track";
    const std::string notFound = "Cannot find cdrom source for the track.";
    const auto noDrive = [](const std::string& file) {
        return "vantor-cd: no drive holds the disc of " + file +
               " (a disc image counts as a drive when its directory is named in CUEIFY_VIRTUAL_DRIVES and "
               "holds the disc's .cda files)\n";
    };
    const auto notATrackPath = [](const std::string& path) {
        return "vantor-cd: " + path + " is not a track path (expected cdda://DRIVE#trackN.cda)\n";
    };
    const auto noTrack = [&a](int track) {
        return "vantor-cd: the disc in " + a + " has no track " + std::to_string(track) + " (it has 3)\n";
    };
    const std::string hashDrive = drive("h#track2") + "/disc.cue";
    const struct
    {
        std::string input;
        std::string plugin;   // what the plug-in opens
        std::string vantorCd; // what vantor-cd finds and opens through the plug-in
    } cases[] = {
        {trackPath + "2.cda", "a 2", "a 2"},
        {"cdda://" + b + "#track3.cda", "b.cda 3", "b.cda 3"},
        {"cdda://d/disc.cue#track2.cda", "d 2", "d 2"},
        {"/music/" + trackPath + "1.cda", "a 1", "a 1"},
        {trackPath + "257.CDA", "a 1", "a 1"},
        {trackPath + "1#track3.cda", "a 1", "a 1"},
        {trackPath + "03x.cda", "a 3", "a 3"},
        {trackPath + "7.cda", "Invalid track address", noTrack(7)},
        {trackPath + "256.cda", "Invalid track address", noTrack(0)},
        {trackPath + "2147483648.cda", "stoi", notATrackPath(trackPath + "2147483648.cda")},
        {trackPath + ".cda", "stoi", notATrackPath(trackPath + ".cda")},
        {"cdda://" + a + ".cda", "Cannot parse filename from cdreader.",
         notATrackPath("cdda://" + a + ".cda")},
        {"cdda://#track1.cda", "Empty drive path.", notATrackPath("cdda://#track1.cda")},
        {"cdda://" + hashDrive + "#track1.cda",
         "Cannot open cueify device " + root.string() + "/h. Cueify error: The device could not be opened.",
         "vantor-cd: cannot open " + root.string() + "/h: no such drive or disc image\n"},
        {"b.cda/Track01.cda", "b.cda 1", "b.cda 1"},
        {cdaFile("copy/Track02.cda", 0, 0), "a 2", "a 2"},
        {cdaFile("track258/Track02.cda", 23, 0x01), "a 2", "a 2"},
        {cdaFile("serial/Track02.cda", 24, 0x01), notFound, noDrive(root.string() + "/serial/Track02.cda")},
        {cdaFile("high/Track02.cda", 27, 0x80), notFound, noDrive(root.string() + "/high/Track02.cda")},
        {"d-cda/Track01.cda", notFound, noDrive("d-cda/Track01.cda")},
        {cdaFile("version/Track02.cda", 20, 0x03), "Invalid cda structure.",
         "vantor-cd: " + root.string() + "/version/Track02.cda is not a CD track file (.cda)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(pluginOpens(c.input), c.plugin);
        EXPECT_EQ(vantorCdFinds(c.input), c.vantorCd);
    }
}

} // namespace
} // namespace vantorcd
