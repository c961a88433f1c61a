// The genre of a CD-Text block: a code from the CD-Text list and a text of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cueify {

struct CdTextGenre
{
    uint16_t code = 0; // 0: none given
    std::optional<std::string> name;

    bool isSet() const noexcept { return code != 0 || name.has_value(); }
};

// The code of a genre named as the CD-Text list names it (letter case aside), or nothing.
std::optional<uint16_t> genreCodeOf(std::string_view name);

} // namespace cueify
