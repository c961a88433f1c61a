// Feeds arbitrary bytes to a parser open as a .cda track file. The machine has three drives on
// the in-memory cueify fake: one that does not exist, one without .cda files and one whose
// Track01.cda carries the fake disc's serial number. The byte at offset 44, which the open never
// reads, picks a failure the fake injects. Whatever the bytes, the open either succeeds or throws,
// and no device or TOC handle outlives the parser.
#include "ScratchDirectory.h"
#include "fuzz/ParserFuzzing.h"

#include "cueify_fake/FakeCueify.h"
#include "mkdisc/CdaFile.h"

#include <fstream>
#include <optional>

namespace {

struct Machine
{
    testsupport::ScratchDirectory root;
    std::filesystem::path input = root.path() / "input.cda";
    std::vector<std::optional<std::string>> drives = {std::nullopt, (root.path() / "missing-drive").string(),
                                                      (root.path() / "empty-drive").string(),
                                                      (root.path() / "disc-drive").string()};

    Machine()
    {
        std::filesystem::create_directories(*drives[2]);
        std::filesystem::create_directories(*drives[3]);
        mkdisc::writeCdaFile(*drives[3], {1, fuzzsupport::kFakeDiscSerial, 0, 375});
    }
};

const Machine& machine()
{
    static const Machine instance;
    return instance;
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
    fuzzsupport::setUpFakeDisc(size > 44 ? data[44] : 0);
    fake::FakeCueify::instance().setDevices(machine().drives);
    if (!std::ofstream(machine().input, std::ios::binary | std::ios::trunc)
             .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size)))
        __builtin_trap();
    fuzzsupport::openAndPlay(machine().input);
    return 0;
}
