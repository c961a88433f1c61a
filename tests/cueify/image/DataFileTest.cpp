// Data files of CD samples generated here, stored raw, in WAVE files built chunk by chunk, or made
// with ffmpeg, read as exactly those samples, in order or anywhere: AIFF and AIFC as stored
// (big-endian samples come back little-endian as MOTOROLA files do, 'sowt' as they are), lossless
// files decoded; lossy files and files in another sample format are refused with their reason.
#include "ScratchDirectory.h"
#include "wave/WaveFile.h"

#include "core/Failure.h"
#include "image/DataFile.h"

#include <discgeometry/DiscGeometry.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

namespace cueify::test {
namespace {

using namespace wavefile;
namespace fs = std::filesystem;
using discgeometry::kRawSectorBytes;

// Eight seconds and a little: not a whole number of any codec's frames or of sectors.
constexpr uint32_t kSampleFrames = 8 * 44100 + 1237;

// Little-endian 16-bit stereo samples of noise, so that a misplaced byte shows.
std::string cdSamples(uint32_t sampleFrames)
{
    std::minstd_rand noise(sampleFrames);
    std::string bytes(size_t{sampleFrames} * 4, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(noise());
    return bytes;
}

// A file of that name holding content, or, when there is none, the samples encoded by the ffmpeg
// command with the given output options.
fs::path makeFile(const testsupport::ScratchDirectory& scratch, const std::string& name,
                  const std::string& content, const std::string& samples, const std::string& options)
{
    if (!content.empty())
        return scratch.write(name, content);
    const std::string command = "ffmpeg -nostdin -v error -y -f s16le -ar 44100 -ac 2 -i '" +
                                scratch.write(name + ".raw", samples).string() + "' " + options + " '" +
                                (scratch.path() / name).string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return scratch.path() / name;
}

// The bytes of a data file from offset on, or "read failed".
std::string readBytes(DataFile& file, uint64_t offset, size_t length)
{
    std::string bytes(length, '\0');
    return file.read(offset, reinterpret_cast<uint8_t*>(bytes.data()), length) ? bytes : "read failed";
}

// Each file is opened three times and read: in order; a sector at a time at byte offsets out of
// order (the end with its partial last frame, back to the start, a jump far ahead, a step back
// inside the frames just decoded, a step just past them) and past its end; and at any sector or
// sample frame from four threads at once, as players sharing a device ask for them, where each
// read gets its bytes whichever reads came before it, including reads in the last frames, where a
// demuxer's search of the file may give up. Files that shrink are read in ImageDeviceTest.
TEST(DataFile, ReadsInOrderOutOfOrderAndFromFourThreadsAtRandomGiveTheSamplesItWasMadeOf)
{
    const std::string samples = cdSamples(kSampleFrames), data = chunk("data", samples);
    const uint64_t end = samples.size(), sectors = samples.size() / kRawSectorBytes;
    const struct
    {
        const char* file;
        DataFileType type;
        std::string content; // empty: made by ffmpeg
        const char* options = "";
    } cases[] = {
        {"t.bin", DataFileType::Binary, samples},
        {"plain.wav", DataFileType::Audio, riffWave(plainFormat() + data)},
        {"extensible.wav", DataFileType::Audio, riffWave(extensibleFormat(1) + data)},
        {"odd-chunk-first.wav", DataFileType::Audio, riffWave(chunk("junk", "abc") + plainFormat() + data)},
        {"partial-frame.wav", DataFileType::Audio,
         riffWave(plainFormat() + chunk("data", samples + "\x01\x02"s))},
        {"odd-chunk-before-data.wav", DataFileType::Audio,
         riffWave(plainFormat() + chunk("LIST", "INFOISFT\x05\0\0\0tool\0"s) + data)},
        {"album.aiff", DataFileType::Audio, ""},
        {"album.aifc", DataFileType::Audio, "", "-c:a pcm_s16le -f aiff"},
        // 'sowt' samples behind a chunk of odd size; frame count and sound chunk run past the file's end.
        {"odd-chunk-first.aifc", DataFileType::Audio,
         "FORM\0\0\0\0AIFCNAME\0\0\0\3abc\0COMM\0\0\0\x16\0\2\x7F\xFF\xFF\xFF\0\x10\x40\x0E\xAC\x44"
         "\0\0\0\0\0\0sowtSSND\x7F\xFF\xFF\xFF\0\0\0\0\0\0\0\0"s +
             samples},
        {"album.flac", DataFileType::Audio, ""},
        // A FLAC stream written to a pipe has no length in its header: it is decoded once to find it.
        {"unknown-length.flac", DataFileType::Audio, "", "-f flac - >"},
        {"album.wv", DataFileType::Audio, ""},
        {"album.tta", DataFileType::Audio, ""},
        {"album.m4a", DataFileType::Audio, "", "-c:a alac"},
    };
    const uint64_t offsets[] = {end - kRawSectorBytes, 0,
                                6 * 176400 + 4 * 333,  3 * 176400,
                                3 * 176400 - 4 * 1000, 3 * 176400 + 4 * 5000,
                                kRawSectorBytes * 7,   end - 2 * kRawSectorBytes};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        testsupport::ScratchDirectory scratch;
        const fs::path path = makeFile(scratch, c.file, c.content, samples, c.options);
        const auto inOrder = openDataFile(path, c.type, c.file);
        EXPECT_EQ(inOrder->size(), samples.size());
        std::string bytes;
        for (uint64_t offset = 0; offset < end; offset += kRawSectorBytes)
            bytes += readBytes(*inOrder, offset, std::min<uint64_t>(kRawSectorBytes, end - offset));
        EXPECT_TRUE(bytes == samples);
        const auto outOfOrder = openDataFile(path, c.type, c.file);
        for (const uint64_t offset : offsets)
            EXPECT_TRUE(readBytes(*outOfOrder, offset, kRawSectorBytes) ==
                        samples.substr(offset, kRawSectorBytes))
                << "at byte " << offset;
        EXPECT_EQ(readBytes(*outOfOrder, end - 1000, kRawSectorBytes), "read failed");
        EXPECT_EQ(readBytes(*outOfOrder, end + kRawSectorBytes, kRawSectorBytes), "read failed");
        EXPECT_TRUE(readBytes(*outOfOrder, end - 1000, 1000) == samples.substr(end - 1000));
        const auto atRandom = openDataFile(path, c.type, c.file);
        std::vector<int> wrongReads(4);
        std::vector<std::thread> threads;
        for (size_t i = 0; i < wrongReads.size(); ++i)
            threads.emplace_back([&, i] {
                std::minstd_rand order(20261206 + i);
                for (int n = 0; n < 150; ++n) {
                    const uint64_t offset = n % 2 == 0 ? order() % sectors * kRawSectorBytes
                                                       : order() % (samples.size() / 4 - 588) * 4;
                    wrongReads[i] += readBytes(*atRandom, offset, kRawSectorBytes) !=
                                     samples.substr(offset, kRawSectorBytes);
                }
            });
        for (std::thread& thread : threads)
            thread.join();
        EXPECT_EQ(wrongReads, std::vector<int>(4, 0));
    }
}

TEST(DataFile, LossyFilesOtherSampleFormatsAndDamagedFilesAreRefusedWithTheirReason)
{
    const std::string samples = cdSamples(44100), data = chunk("data", cdSamples(100));
    const struct
    {
        const char* file;
        std::string content; // empty: made by ffmpeg
        const char* options;
        const char* reason;
        uint64_t cut = 0; // bytes taken off the end
    } cases[] = {
        {"lossy.mp2", "", "", "not lossless (mp2)"},
        {"all.flac", "", "-ar 96000 -ac 1 -sample_fmt s32",
         "not 44,100 Hz 16-bit stereo (96,000 Hz, 24-bit, mono)"},
        {"48k-24bit.aiff", "", "-ar 48000 -c:a pcm_s24be", "not 44,100 Hz 16-bit stereo (48,000 Hz, 24-bit)"},
        {"ulaw.aifc", "", "-c:a pcm_mulaw -f aiff", "not PCM (AIFC compression 'ulaw')"},
        // Its length is found by decoding it, so a file cut short is not taken as shorter.
        {"cut.flac", "", "-f flac - >", "cannot be decoded to its end", 1000},
        {"notes.flac", std::string(4000, '\x01'), "", "not a known audio format"},
        {"8k-8bit-mono.wav", riffWave(plainFormat(8000, 1, 8) + data), "",
         "not 44,100 Hz 16-bit stereo (8,000 Hz, 8-bit, mono)"},
        {"float.wav", riffWave(extensibleFormat(3) + data), "", "not PCM (WAVE format 3)"},
        {"24bit.wav", riffWave(extensibleFormat(1, 32, 24) + data), "",
         "not 44,100 Hz 16-bit stereo (24-bit)"},
        {"guid.wav", riffWave(extensibleFormat(1, 16, 16, std::string(14, 'x')) + data), "",
         "not PCM (unknown WAVE subformat)"},
        {"data-first.wav", riffWave(data + plainFormat()), "", "WAVE data chunk before its format chunk"},
        {"no-data.wav", riffWave(plainFormat()), "", "WAVE file without a data chunk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        testsupport::ScratchDirectory scratch;
        const fs::path path = makeFile(scratch, c.file, c.content, samples, c.options);
        fs::resize_file(path, fs::file_size(path) - c.cut);
        try {
            openDataFile(path, DataFileType::Audio, c.file);
            ADD_FAILURE() << "opened";
        } catch (const Failure& error) {
            EXPECT_EQ(error.what(), "'" + std::string(c.file) + "': " + c.reason);
        }
    }
}

} // namespace
} // namespace cueify::test
