// Feeds arbitrary bytes to the CD-Text decoder as a drive's reply, and reads back every getter of
// every block. Besides the sanitizers' findings, a result code outside the decoder's traps, and so
// does CD-Text whose second writing differs from its first: once written, what is read back must
// write the same again.
#include "cueify_testing/CdTextTesting.h"

namespace {

// Touches every byte of every answer, for every track number, so that the sanitizers see any read
// past a string or a table.
size_t readEverything(cueify_cdtext* t)
{
    size_t touched = 0;
    for (unsigned b = 0; b < cueify_cdtext_get_num_blocks(t); ++b)
        touched += cueify::test::describeBlock(cueify_cdtext_get_block(t, uint8_t(b)), 0xAA).size();
    for (unsigned track = 0; track <= 0xAA; ++track) {
        for (unsigned k = 0; k <= cueify_cdtext_get_toc_num_track_intervals(t, uint8_t(track)) + 1u; ++k)
            touched += cueify_cdtext_get_toc_track_interval_end(t, uint8_t(track), uint8_t(k)).frm;
    }
    return touched;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const cueify::test::CdTextOwner first(cueify_cdtext_new());
    const int result = cueify_cdtext_deserialize(first.get(), data, size);
    if (result != CUEIFY_OK && result != CUEIFY_ERR_TRUNCATED && result != CUEIFY_ERR_CORRUPTED)
        __builtin_trap();
    if (result != CUEIFY_OK)
        return 0;
    volatile size_t touched = readEverything(first.get());
    (void)touched;
    size_t needed = 0;
    if (cueify_cdtext_serialize(first.get(), nullptr, &needed) != CUEIFY_OK)
        return 0; // more packs than a disc holds
    const std::vector<uint8_t> once = cueify::test::serializedPacks(first.get());
    const cueify::test::CdTextOwner second(cueify_cdtext_new());
    if (once.size() != needed ||
        cueify_cdtext_deserialize(second.get(), once.data(), once.size()) != CUEIFY_OK ||
        cueify::test::serializedPacks(second.get()) != once)
        __builtin_trap();
    return 0;
}
