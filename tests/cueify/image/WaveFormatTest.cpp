// RIFF WAVE data files as other tools write them: WAVE_FORMAT_EXTENSIBLE, chunks of odd size.
#include "AudioFiles.h"

namespace cueify::test {
namespace {

TEST(WaveFormat, ExtensiblePcmAndChunksOfOddSizeReadAsTheirSamples)
{
    const std::string samples = cdSamples(1000);
    const struct
    {
        const char* name;
        std::string file;
    } cases[] = {
        {"Extensible", riffWave(extensibleFormat(1) + chunk("data", samples))},
        {"OddChunkBeforeFormat", riffWave(chunk("junk", "abc") + plainFormat() + chunk("data", samples))},
        {"PartialSampleFrameAtTheEnd", riffWave(plainFormat() + chunk("data", samples + "\x01\x02"s))},
        {"OddChunkBeforeData",
         riffWave(plainFormat() + chunk("LIST", "INFOISFT\x05\0\0\0tool\0"s) + chunk("data", samples))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScratchDirectory scratch;
        const auto file = openDataFile(scratch.write("t.wav", c.file), DataFileType::Audio, "t.wav");
        EXPECT_TRUE(readInOrder(*file) == samples);
    }
}

TEST(WaveFormat, OtherSampleFormatsAreRefusedWithTheirReason)
{
    const std::string data = chunk("data", cdSamples(100));
    const struct
    {
        std::string file;
        const char* reason;
    } cases[] = {
        {riffWave(plainFormat(48000, 1) + data), "'t.wav': not 44,100 Hz 16-bit stereo (48,000 Hz, mono)"},
        {riffWave(plainFormat(44100, 2, 8) + data), "'t.wav': not 44,100 Hz 16-bit stereo (8-bit)"},
        {riffWave(extensibleFormat(3) + data), "'t.wav': not PCM (WAVE format 3)"},
        {riffWave(extensibleFormat(1, 32, 24) + data), "'t.wav': not 44,100 Hz 16-bit stereo (24-bit)"},
        {riffWave(extensibleFormat(1, 16, 16, std::string(14, 'x')) + data),
         "'t.wav': not PCM (unknown WAVE subformat)"},
        {riffWave(data + plainFormat()), "'t.wav': WAVE data chunk before its format chunk"},
        {riffWave(plainFormat()), "'t.wav': WAVE file without a data chunk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        testsupport::ScratchDirectory scratch;
        EXPECT_EQ(refusal(scratch.write("t.wav", c.file)), c.reason);
    }
}

} // namespace
} // namespace cueify::test
