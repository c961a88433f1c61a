#include "TrackDescription.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace mkdisc {
namespace {

TEST(TrackDescription, ReadsKindSectorsAndEveryOption)
{
    const TrackSpec track =
        parseTrackDescription("mode2:1200,pregap=150,silence=75,flags=dcp+4ch+pre,byte16=2");
    EXPECT_EQ(track.mode, TrackMode::Mode2Raw);
    EXPECT_EQ(track.sectors, 1200u);
    EXPECT_EQ(track.storedPregapSectors, 150u);
    EXPECT_EQ(track.silentPregapSectors, 75u);
    EXPECT_TRUE(track.digitalCopyPermitted && track.fourChannel && track.preEmphasis);
    EXPECT_EQ(track.dataModeByte, 2);

    const TrackSpec plain = parseTrackDescription("audio:300");
    EXPECT_EQ(plain.mode, TrackMode::Audio);
    EXPECT_EQ(plain.sectors, 300u);
    EXPECT_FALSE(plain.digitalCopyPermitted || plain.fourChannel || plain.preEmphasis);
    EXPECT_EQ(parseTrackDescription("mode1:5,flags=pre").mode, TrackMode::Mode1Raw);
}

TEST(TrackDescription, BadWordGetsAOneLineReason)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"audio", "bad track \"audio\": expected KIND:SECTORS"},
        {"cdda:10", "bad track \"cdda:10\": unknown track kind \"cdda\" (audio, mode1 or mode2)"},
        {"audio:4294967296",
         "bad track \"audio:4294967296\": sector count \"4294967296\" is not a number from 0 to 4294967295"},
        {"mode1:9,byte16=256",
         "bad track \"mode1:9,byte16=256\": byte16 \"256\" is not a number from 0 to 255"},
        {"audio:9,flags=dcp+copy",
         "bad track \"audio:9,flags=dcp+copy\": unknown flag \"copy\" (dcp, 4ch or pre)"},
        {"audio:9,gap=3",
         "bad track \"audio:9,gap=3\": unknown option \"gap\" (pregap, silence, flags or byte16)"},
        {"audio:9,pregap", "bad track \"audio:9,pregap\": pregap \"\" is not a number from 0 to 4294967295"},
    };
    for (const auto& [word, message] : cases) {
        try {
            parseTrackDescription(word);
            ADD_FAILURE() << "accepted " << word;
        } catch (const std::invalid_argument& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

TEST(TrackDescription, SlashStartsTheNextSessionAndNoSessionMayBeEmpty)
{
    const std::vector<SessionSpec> sessions =
        parseSessionDescriptions({"audio:1", "audio:2", "/", "mode1:3"});
    ASSERT_EQ(sessions.size(), 2u);
    EXPECT_EQ(sessions[0].tracks.size(), 2u);
    EXPECT_EQ(sessions[1].tracks.at(0).sectors, 3u);
    EXPECT_THROW(parseSessionDescriptions({"/", "audio:1"}), std::invalid_argument);
    EXPECT_THROW(parseSessionDescriptions({"audio:1", "/", "/", "audio:1"}), std::invalid_argument);
}

} // namespace
} // namespace mkdisc
