#include "OutputFormat.h"

#include "UserError.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace vantorcd {
namespace {

struct Extension
{
    const char* text;
    OutputFormat format;
};

constexpr std::array<Extension, 4> kExtensions{{
    {".wav", {OutputKind::Wave, "wav", "pcm_s16le"}},
    {".flac", {OutputKind::Flac, "flac", "flac"}},
    {".aiff", {OutputKind::Aiff, "aiff", "pcm_s16be"}},
    {".aif", {OutputKind::Aiff, "aiff", "pcm_s16be"}},
}};

} // namespace

OutputFormat outputFormatFor(const std::filesystem::path& output)
{
    std::string extension = output.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const Extension& known : kExtensions) {
        if (extension == known.text)
            return known.format;
    }
    const std::string problem = extension.empty() ? "the name has no extension to choose the audio file type"
                                                  : "unknown audio file type " + extension;
    throw UserError("cannot write " + output.string() + ": " + problem + " (use .wav, .flac or .aiff)");
}

} // namespace vantorcd
