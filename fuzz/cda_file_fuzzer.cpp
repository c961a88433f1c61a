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

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::silenceLogging();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const testsupport::ScratchDirectory root;
    static const std::vector<std::optional<std::string>> drives = [] {
        std::filesystem::create_directories(root.path() / "empty-drive");
        std::filesystem::create_directories(root.path() / "disc-drive");
        mkdisc::writeCdaFile(root.path() / "disc-drive", {1, fuzzsupport::kFakeDiscSerial, 0, 375});
        return std::vector<std::optional<std::string>>{std::nullopt, (root.path() / "missing-drive").string(),
                                                       (root.path() / "empty-drive").string(),
                                                       (root.path() / "disc-drive").string()};
    }();
    fuzzsupport::setUpFakeDisc(size > 44 ? data[44] : 0);
    fake::FakeCueify::instance().setDevices(drives);
    const std::filesystem::path input = root.path() / "input.cda";
    if (!std::ofstream(input, std::ios::binary | std::ios::trunc)
             .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size)))
        __builtin_trap();
    fuzzsupport::openAndPlay(input);
    return 0;
}
