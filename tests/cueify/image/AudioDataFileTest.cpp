// Audio data files made with ffmpeg from generated samples read as exactly those samples, in order
// or anywhere: AIFF and AIFC as stored (big-endian samples come back little-endian, 'sowt' as they
// are), lossless files decoded; lossy files and files in another sample format are refused.
#include "AudioFiles.h"

#include <thread>
#include <vector>

namespace cueify::test {
namespace {

// Eight seconds and a little: not a whole number of any codec's frames or of sectors.
constexpr uint32_t kSampleFrames = 8 * 44100 + 1237;

struct AudioFileCase
{
    const char* name;
    const char* file;
    const char* options;
};

// A FLAC stream written to a pipe has no length in its header: it is decoded once to find it.
const AudioFileCase kAudioFiles[] = {{"BigEndianAiff", "album.aiff", ""},
                                     {"AifcSowt", "album.aifc", "-c:a pcm_s16le -f aiff"},
                                     {"Flac", "album.flac", ""},
                                     {"FlacOfUnknownLength", "album.flac", "-f flac - >"},
                                     {"WavPack", "album.wv", ""},
                                     {"Tta", "album.tta", ""},
                                     {"AlacInMp4", "album.m4a", "-c:a alac"}};

// Each file is opened three times and read: in order; a sector at a time at byte offsets out of
// order (the end with its partial last frame, back to the start, a jump far ahead, a step back
// inside the frames just decoded, a step just past them); and at any sector or sample frame in an
// order the same every run, as players sharing a device ask for them, where each read gets its
// bytes whichever reads came before it, including reads in the last frames, where a demuxer's
// search of the file may give up.
TEST(AudioDataFile, ReadsInOrderOutOfOrderAndAtRandomAreTheSamplesTheFileWasMadeOf)
{
    const std::string samples = cdSamples(kSampleFrames);
    const uint64_t end = samples.size(), sectors = samples.size() / kRawSectorBytes;
    const uint64_t offsets[] = {end - kRawSectorBytes, 0,
                                6 * 176400 + 4 * 333,  3 * 176400,
                                3 * 176400 - 4 * 1000, 3 * 176400 + 4 * 5000,
                                kRawSectorBytes * 7,   end - 2 * kRawSectorBytes};
    for (const AudioFileCase& c : kAudioFiles) {
        SCOPED_TRACE(c.name);
        testsupport::ScratchDirectory scratch;
        const fs::path path = encode(scratch, samples, c.file, c.options);
        const auto inOrder = openDataFile(path, DataFileType::Audio, c.file);
        EXPECT_EQ(inOrder->size(), samples.size());
        EXPECT_TRUE(readInOrder(*inOrder) == samples);
        const auto outOfOrder = openDataFile(path, DataFileType::Audio, c.file);
        for (const uint64_t offset : offsets)
            EXPECT_TRUE(readBytes(*outOfOrder, offset, kRawSectorBytes) ==
                        samples.substr(offset, kRawSectorBytes))
                << "at byte " << offset;
        const auto atRandom = openDataFile(path, DataFileType::Audio, c.file);
        std::minstd_rand order(20261206);
        int wrongReads = 0;
        for (int n = 0; n < 600; ++n) {
            const uint64_t offset =
                n % 2 == 0 ? order() % sectors * kRawSectorBytes : order() % (samples.size() / 4 - 588) * 4;
            wrongReads +=
                readBytes(*atRandom, offset, kRawSectorBytes) != samples.substr(offset, kRawSectorBytes);
        }
        EXPECT_EQ(wrongReads, 0);
    }
}

TEST(AudioDataFile, ReadsPastTheLastSampleFail)
{
    testsupport::ScratchDirectory scratch;
    const std::string samples = cdSamples(kSampleFrames);
    const auto file =
        openDataFile(encode(scratch, samples, "album.flac", ""), DataFileType::Audio, "album.flac");
    EXPECT_EQ(readBytes(*file, samples.size() - 1000, kRawSectorBytes), "read failed");
    EXPECT_EQ(readBytes(*file, samples.size() + kRawSectorBytes, kRawSectorBytes), "read failed");
    EXPECT_TRUE(readBytes(*file, samples.size() - 1000, 1000) == samples.substr(samples.size() - 1000));
}

TEST(AudioDataFile, LossyFilesAndOtherSampleFormatsAreRefusedWithTheirReason)
{
    const struct
    {
        const char* file;
        const char* options;
        const char* reason;
    } cases[] = {
        {"lossy.mp2", "", "'lossy.mp2': not lossless (mp2)"},
        {"48k.flac", "-ar 48000", "'48k.flac': not 44,100 Hz 16-bit stereo (48,000 Hz)"},
        {"mono.flac", "-ac 1", "'mono.flac': not 44,100 Hz 16-bit stereo (mono)"},
        {"24bit.flac", "-sample_fmt s32", "'24bit.flac': not 44,100 Hz 16-bit stereo (24-bit)"},
        {"all.flac", "-ar 96000 -ac 1 -sample_fmt s32",
         "'all.flac': not 44,100 Hz 16-bit stereo (96,000 Hz, 24-bit, mono)"},
        {"48k.aiff", "-ar 48000", "'48k.aiff': not 44,100 Hz 16-bit stereo (48,000 Hz)"},
        {"24bit.aiff", "-c:a pcm_s24be", "'24bit.aiff': not 44,100 Hz 16-bit stereo (24-bit)"},
        {"ulaw.aifc", "-c:a pcm_mulaw -f aiff", "'ulaw.aifc': not PCM (AIFC compression 'ulaw')"},
    };
    const std::string samples = cdSamples(44100);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        testsupport::ScratchDirectory scratch;
        EXPECT_EQ(refusal(encode(scratch, samples, c.file, c.options)), c.reason);
    }
    testsupport::ScratchDirectory scratch;
    EXPECT_EQ(refusal(scratch.write("notes.flac", std::string(4000, '\x01'))),
              "'notes.flac': not a known audio format");
}

// Its length is found by decoding it, so a file cut short is refused rather than taken as shorter.
TEST(AudioDataFile, FileOfUnknownLengthThatCannotBeDecodedToItsEndIsRefused)
{
    testsupport::ScratchDirectory scratch;
    const fs::path path = encode(scratch, cdSamples(44100), "cut.flac", "-f flac - >");
    fs::resize_file(path, fs::file_size(path) - 1000);
    EXPECT_EQ(refusal(path), "'cut.flac': cannot be decoded to its end");
}

// Threads that share one device share its data files: each reads sectors from a place of its own.
TEST(AudioDataFileConcurrency, FourThreadsReadingOneFileEachGetTheirSectors)
{
    testsupport::ScratchDirectory scratch;
    const std::string samples = cdSamples(kSampleFrames);
    const auto file =
        openDataFile(encode(scratch, samples, "album.flac", ""), DataFileType::Audio, "album.flac");
    const uint64_t sectors = samples.size() / kRawSectorBytes;
    std::vector<int> wrongSectors(4);
    std::vector<std::thread> threads;
    for (uint64_t i = 0; i < wrongSectors.size(); ++i)
        threads.emplace_back([&, i] {
            for (uint64_t n = 0; n < sectors; n += 3) {
                const uint64_t offset = (n + i * sectors / 4) % sectors * kRawSectorBytes;
                wrongSectors[i] +=
                    readBytes(*file, offset, kRawSectorBytes) != samples.substr(offset, kRawSectorBytes);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrongSectors, std::vector<int>(4, 0));
}

} // namespace
} // namespace cueify::test
