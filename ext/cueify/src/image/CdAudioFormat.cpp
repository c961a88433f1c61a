#include "image/CdAudioFormat.h"

#include "core/Failure.h"

#include <vector>

namespace cueify {
namespace {

std::string channelsText(uint32_t channels)
{
    return channels == 1 ? "mono" : std::to_string(channels) + " channels";
}

std::string joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

} // namespace

std::string withThousands(uint64_t value)
{
    std::string digits = std::to_string(value);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

void requireCdAudio(const SampleFormat& format)
{
    std::vector<std::string> differences;
    if (format.rate != kCdSampleRate)
        differences.push_back(withThousands(format.rate) + " Hz");
    if (format.bits != kCdBitsPerSample)
        differences.push_back(std::to_string(format.bits) + "-bit");
    if (format.channels != kCdChannels)
        differences.push_back(channelsText(format.channels));
    if (!differences.empty())
        throw Failure(CUEIFY_ERR_NO_DEVICE, "not 44,100 Hz 16-bit stereo (" + joined(differences) + ")");
}

} // namespace cueify
