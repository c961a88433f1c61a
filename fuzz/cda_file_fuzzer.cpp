// Feeds arbitrary bytes to a parser open as a .cda track file. The machine has three drives on
// the in-memory cueify fake: one that does not exist, one without .cda files and one whose
// Track01.cda carries the fake disc's serial number. The byte at offset 44, which the open never
// reads, picks a failure the fake injects. Whatever the bytes, the open either succeeds or throws,
// and no device or TOC handle outlives the parser.
#include "ScratchDirectory.h"
#include "fuzz/FakeDisc.h"
#include "fuzz/ParserRun.h"

#include "cueify_fake/FakeCueify.h"
#include "mkdisc/CdaFile.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr size_t kEnvironmentOffset = 44;

struct Machine
{
    testsupport::ScratchDirectory root;
    std::vector<std::optional<std::string>> drives;
    std::string input = (root.path() / "input.cda").string();

    Machine()
    {
        const std::filesystem::path empty = root.path() / "empty-drive";
        const std::filesystem::path disc = root.path() / "disc-drive";
        std::filesystem::create_directories(empty);
        std::filesystem::create_directories(disc);
        mkdisc::writeCdaFile(disc, {1, fuzzsupport::kFakeDiscSerial, 0, 375});
        drives = {std::nullopt, (root.path() / "missing-drive").string(), empty.string(), disc.string()};
    }
};

const Machine& machine()
{
    static const Machine instance;
    return instance;
}

void writeInput(const std::string& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::silenceLogging();
    machine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::setUpFakeDisc(size > kEnvironmentOffset ? data[kEnvironmentOffset] : 0);
    fake::FakeCueify::instance().setDevices(machine().drives);
    writeInput(machine().input, data, size);
    fuzzsupport::openAndPlay(machine().input);
    if (!fuzzsupport::fakeIsClean())
        __builtin_trap();
    return 0;
}
