// Writes the seed corpus of track_path_fuzzer: track paths as the disc reader writes them, and
// the near misses the open must refuse.
#include "fuzz/SeedCorpus.h"

#include <string>
#include <vector>

namespace {

using fuzzsupport::bytesOf;
using fuzzsupport::Seed;

std::vector<Seed> seeds()
{
    return {
        {"track-1", bytesOf("cdda:///dev/sr0#track1.cda")},
        {"track-2-upper-case", bytesOf("cdda:///dev/sr0#track2.CDA")},
        {"data-track", bytesOf("cdda:///dev/sr0#track3.cda")},
        {"track-in-lead-in", bytesOf("cdda:///dev/sr0#track4.cda")},
        {"image-drive", bytesOf("cdda:///music/Tracks/album.cue#track01.cda")},
        {"prefix-inside", bytesOf("/library/cdda:///dev/sr1#track2.cda")},
        {"leading-zeros-and-letters", bytesOf("cdda:///dev/sr0#track007x.cda")},
        {"signed", bytesOf("cdda:///dev/sr0#track -1.cda")},
        {"too-large", bytesOf("cdda:///dev/sr0#track99999999999.cda")},
        {"track-257", bytesOf("cdda:///dev/sr0#track257.cda")},
        {"no-digits", bytesOf("cdda:///dev/sr0#trackx.cda")},
        {"no-track-prefix", bytesOf("cdda:///dev/sr0.cda")},
        {"empty-drive", bytesOf("cdda://#track1.cda")},
        {"prefix-after-extension", bytesOf("cdda://.cda#track1.cda")},
        {"other-extension", bytesOf("cdda:///dev/sr0#track1.wav")},
        {"no-extension", bytesOf("cdda:///dev/sr0#track1")},
        {"empty", {}},
    };
}

} // namespace

int main(int argc, char** argv)
{
    return fuzzsupport::writeSeeds(argc, argv, seeds());
}
