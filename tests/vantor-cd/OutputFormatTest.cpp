#include "OutputFormat.h"
#include "UserError.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vantorcd {
namespace {

TEST(OutputFormat, ExtensionChoosesContainerAndEncoder)
{
    const struct
    {
        const char* output;
        OutputKind kind;
        const char* muxer;
        const char* encoder;
    } cases[] = {
        {"a.wav", OutputKind::Wave, "wav", "pcm_s16le"},  {"dir/A.WAV", OutputKind::Wave, "wav", "pcm_s16le"},
        {"a.flac", OutputKind::Flac, "flac", "flac"},     {"a.aiff", OutputKind::Aiff, "aiff", "pcm_s16be"},
        {"a.AIF", OutputKind::Aiff, "aiff", "pcm_s16be"},
    };
    for (const auto& c : cases) {
        const OutputFormat format = outputFormatFor(c.output);
        EXPECT_EQ(format.kind, c.kind) << c.output;
        EXPECT_STREQ(format.muxerName, c.muxer);
        EXPECT_STREQ(format.encoderName, c.encoder);
    }
}

TEST(OutputFormat, UnknownExtensionIsNamed)
{
    const auto messageOf = [](const char* output) {
        try {
            outputFormatFor(output);
        } catch (const UserError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf("a.mp3"),
              "cannot write a.mp3: unknown audio file type .mp3 (use .wav, .flac or .aiff)");
    EXPECT_EQ(messageOf("track"), "cannot write track: the name has no extension to choose the audio file "
                                  "type (use .wav, .flac or .aiff)");
}

} // namespace
} // namespace vantorcd
