#include "core/CdTextStrings.h"

#include <algorithm>

namespace cueify {
namespace {

// Which string each byte of the run belongs to, and how far into it.
struct Owner
{
    uint8_t track = 0;
    size_t offset = 0;
};

size_t terminatorBytes(bool doubleByte) noexcept
{
    return doubleByte ? 2 : 1;
}

bool isTerminatorAt(std::string_view data, size_t at, bool doubleByte) noexcept
{
    return data[at] == '\0' && (!doubleByte || (at + 1 < data.size() && data[at + 1] == '\0'));
}

} // namespace

std::vector<CdTextPack> packStrings(uint8_t type, uint8_t block, bool doubleByte,
                                    const std::vector<TrackString>& strings)
{
    std::string run;
    std::vector<Owner> owners;
    for (const TrackString& string : strings) {
        const size_t length = string.bytes.size() + terminatorBytes(doubleByte);
        for (size_t offset = 0; offset < length; ++offset)
            owners.push_back({string.track, offset});
        run += string.bytes;
        run.append(terminatorBytes(doubleByte), '\0');
    }
    std::vector<CdTextPack> packs;
    for (size_t at = 0; at < run.size(); at += kPackDataBytes) {
        CdTextPack pack;
        pack.type = type;
        pack.block = block;
        pack.doubleByte = doubleByte;
        pack.track = owners[at].track;
        pack.position = static_cast<uint8_t>(std::min<size_t>(owners[at].offset, kLargestCharPosition));
        const size_t bytes = std::min(kPackDataBytes, run.size() - at);
        std::copy_n(run.begin() + static_cast<std::ptrdiff_t>(at), bytes, pack.data.begin());
        packs.push_back(pack);
    }
    return packs;
}

std::vector<std::string> splitStrings(std::string_view data, bool doubleByte, size_t count)
{
    std::vector<std::string> strings;
    const size_t step = terminatorBytes(doubleByte);
    size_t start = 0;
    for (size_t at = 0; strings.size() < count && start < data.size(); at += step) {
        if (at >= data.size() || isTerminatorAt(data, at, doubleByte)) {
            strings.emplace_back(data.substr(start, std::min(at, data.size()) - start));
            start = at + step;
        }
    }
    return strings;
}

} // namespace cueify
