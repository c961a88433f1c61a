// AIFF and AIFC data files made with ffmpeg: big-endian samples come back little-endian,
// AIFC 'sowt' samples as they are stored.
#include "AudioFiles.h"

namespace cueify::test {
namespace {

TEST(AiffFormat, AiffAndAifcSowtReadAsTheSamplesTheyWereMadeOf)
{
    const std::string samples = cdSamples(44100 + 17);
    const struct
    {
        const char* file;
        const char* options;
    } cases[] = {{"big-endian.aiff", ""}, {"sowt.aifc", "-c:a pcm_s16le -f aiff"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        testsupport::ScratchDirectory scratch;
        const auto file =
            openDataFile(encode(scratch, samples, c.file, c.options), DataFileType::Audio, c.file);
        EXPECT_EQ(file->size(), samples.size());
        EXPECT_TRUE(readInOrder(*file) == samples);
        EXPECT_TRUE(readBytes(*file, 4 * 30000, kRawSectorBytes) ==
                    samples.substr(4 * 30000, kRawSectorBytes));
    }
}

TEST(AiffFormat, OtherSampleFormatsAreRefusedWithTheirReason)
{
    const struct
    {
        const char* file;
        const char* options;
        const char* reason;
    } cases[] = {
        {"48k.aiff", "-ar 48000", "'48k.aiff': not 44,100 Hz 16-bit stereo (48,000 Hz)"},
        {"24bit.aiff", "-c:a pcm_s24be", "'24bit.aiff': not 44,100 Hz 16-bit stereo (24-bit)"},
        {"ulaw.aifc", "-c:a pcm_mulaw -f aiff", "'ulaw.aifc': not PCM (AIFC compression 'ulaw')"},
    };
    const std::string samples = cdSamples(1000);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        testsupport::ScratchDirectory scratch;
        EXPECT_EQ(refusal(encode(scratch, samples, c.file, c.options)), c.reason);
    }
}

} // namespace
} // namespace cueify::test
