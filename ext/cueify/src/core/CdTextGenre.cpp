#include "core/CdTextGenre.h"

#include <array>
#include <cctype>

namespace cueify {
namespace {

// Codes 1 to 28 in order; 0 means that no genre is given.
constexpr std::array<std::string_view, 28> kGenreNames = {"Unknown",
                                                          "Adult Contemporary",
                                                          "Alternative Rock",
                                                          "Childrens",
                                                          "Classical",
                                                          "Contemporary Christian",
                                                          "Country",
                                                          "Dance",
                                                          "Easy Listening",
                                                          "Erotic",
                                                          "Folk",
                                                          "Gospel",
                                                          "Hip Hop",
                                                          "Jazz",
                                                          "Latin",
                                                          "Musical",
                                                          "New Age",
                                                          "Opera",
                                                          "Operetta",
                                                          "Pop",
                                                          "Rap",
                                                          "Reggae",
                                                          "Rock",
                                                          "Rhythm and Blues",
                                                          "Sound Effects",
                                                          "Soundtrack",
                                                          "Spoken Word",
                                                          "World Music"};

bool sameLetters(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace

std::optional<uint16_t> genreCodeOf(std::string_view name)
{
    for (size_t i = 0; i < kGenreNames.size(); ++i) {
        if (sameLetters(kGenreNames[i], name))
            return static_cast<uint16_t>(i + 1);
    }
    return std::nullopt;
}

} // namespace cueify
