// vantor-cd and the plug-in it runs decide alike which drive and track a track path or a .cda file
// names: `vantor-cd info` names the drive and track it found, and the plug-in's parser, opened on the
// same input, must play that very track; an input vantor-cd refuses is refused with one line. How
// the plug-in reads these inputs on its own is tested with the plug-in.
#include "RunCommand.h"

#include <nlohmann/json.hpp>

namespace vantorcd {
namespace {

// Discs whose tracks all last different whole seconds, so that a track's duration tells which disc
// and track was opened. The folders of b and of h hold the extension and the track prefix; a and b
// are virtual drives.
const std::pair<std::string, std::vector<int>> kDiscs[] = {
    {"a", {1, 2, 3}}, {"b.cda", {4, 5, 6}}, {"h#track2", {9}}};

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
    }

    std::string drive(const std::string& name) const { return (root / name).string(); }

    // A copy of disc a's Track02.cda with bits of one byte flipped.
    std::string cdaFile(const std::string& name, size_t offset, uint8_t flipped) const
    {
        std::string bytes = readFile(root / "a" / "Track02.cda");
        bytes.at(offset) = static_cast<char>(bytes.at(offset) ^ flipped);
        return scratch.write(name, bytes).string();
    }

    // "a 2" when vantor-cd names disc a's drive and track 2 and the plug-in it runs opens that track,
    // or the line vantor-cd refuses the input with. Relative inputs start from the scratch folder.
    std::string vantorCdFinds(const std::string& input) const
    {
        const Result info =
            run({"info", "--json", input},
                onEmulatedDrives("/dev/sr7", {{"CUEIFY_VIRTUAL_DRIVES", drive("a") + ":" + drive("b.cda")}}),
                root);
        if (info.exitCode != 0)
            return info.err;
        const nlohmann::json json = nlohmann::json::parse(info.out);
        const std::filesystem::path found = root / json.at("drive").get<std::string>();
        const std::string disc = found.lexically_relative(root).begin()->string();
        const std::string opened = discTrackLasting(json.at("duration_us").get<int64_t>());
        const std::string named = disc + " " + std::to_string(json.at("number").get<int>());
        return named == opened ? named : "names " + named + " but opens " + opened;
    }

    testsupport::ScratchDirectory scratch;
    const std::filesystem::path root = std::filesystem::canonical(scratch.path());
};

// The disc library numbers tracks with one byte.
TEST_F(TrackSourceAgreement, InfoNamesTheDriveAndTrackThePlugInOpensOrRefusesTheInputInOneLine)
{
    const std::string a = drive("a") + "/disc.cue";
    const std::string trackPath = "cdda://" + a + "#track";
    const auto notATrackPath = [](const std::string& path) {
        return "vantor-cd: " + path + " is not a track path (expected cdda://DRIVE#trackN.cda)\n";
    };
    const auto noTrack = [&a](int track) {
        return "vantor-cd: the disc in " + a + " has no track " + std::to_string(track) + " (it has 3)\n";
    };
    const auto noDrive = [](const std::string& file) {
        return "vantor-cd: no drive holds the disc of " + file +
               " (a disc image counts as a drive when its directory is named in CUEIFY_VIRTUAL_DRIVES and "
               "holds the disc's .cda files)\n";
    };
    const std::pair<std::string, std::string> cases[] = {
        {trackPath + "2.cda", "a 2"},
        {"cdda://" + drive("b.cda") + "/disc.cue#track3.cda", "b.cda 3"},
        {"cdda://a/disc.cue#track2.cda", "a 2"},
        {"/music/" + trackPath + "1.cda", "a 1"},
        {trackPath + "257.CDA", "a 1"},
        {trackPath + "03x.cda", "a 3"},
        {trackPath + "7.cda", noTrack(7)},
        {trackPath + "256.cda", noTrack(0)},
        {trackPath + "2147483648.cda", notATrackPath(trackPath + "2147483648.cda")},
        {trackPath + ".cda", notATrackPath(trackPath + ".cda")},
        {"cdda://" + a + ".cda", notATrackPath("cdda://" + a + ".cda")},
        {"cdda://#track1.cda", notATrackPath("cdda://#track1.cda")},
        {"cdda://" + drive("h#track2") + "/disc.cue#track1.cda",
         "vantor-cd: cannot open " + drive("h") + ": no such drive or disc image\n"},
        {"b.cda/Track01.cda", "b.cda 1"},
        {cdaFile("track258/Track02.cda", 23, 0x01), "a 2"}, // a copy away from its drive, as track 258
        {cdaFile("serial/Track02.cda", 24, 0x01), noDrive(drive("serial") + "/Track02.cda")},
        {cdaFile("high/Track02.cda", 27, 0x80), noDrive(drive("high") + "/Track02.cda")},
        {cdaFile("version/Track02.cda", 20, 0x03),
         "vantor-cd: " + drive("version") + "/Track02.cda is not a CD track file (.cda)\n"},
    };
    for (const auto& [input, found] : cases)
        EXPECT_EQ(vantorCdFinds(input), found) << input;
}

} // namespace
} // namespace vantorcd
