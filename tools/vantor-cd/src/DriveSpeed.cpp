#include "DriveSpeed.h"

#include "ErrorText.h"

#include <iostream>
#include <optional>

namespace vantorcd {
namespace {

constexpr unsigned kFastest = 0; // what the disc-access library takes for the drive's fastest
constexpr size_t kMostDigits = 6;

std::optional<unsigned> speedOf(const std::string& text)
{
    if (text == "max")
        return kFastest;
    if (text.empty() || text.size() > kMostDigits ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const unsigned speed = static_cast<unsigned>(std::stoul(text));
    return speed > 0 ? std::optional<unsigned>(speed) : std::nullopt;
}

} // namespace

void addSpeedOption(CLI::App& command, unsigned& speed)
{
    const CLI::Validator valid(
        [](std::string& text) {
            return speedOf(text) ? std::string()
                                 : "'" + text + "' is no speed: give a whole multiple of 1x, or max";
        },
        "N|max");
    command
        .add_option_function<std::string>(
            "--speed", [&speed](const std::string& text) { speed = speedOf(text).value_or(kFastest); },
            "the drive's read speed in multiples of 1x, or max (default); images ignore it")
        ->check(valid);
}

HeldSpeed::HeldSpeed(const DriveHandle& handle, unsigned speed)
{
    if (speed == kFastest)
        return;
    if (cueify_device_set_read_speed(handle.device(), speed) == CUEIFY_OK) {
        m_slowed = handle.device();
        return;
    }
    std::cerr << "vantor-cd: " << handle.drive() << " keeps its own speed (" << discAccessReason()
              << "); reading on" << std::endl;
}

HeldSpeed::~HeldSpeed()
{
    if (m_slowed)
        cueify_device_set_read_speed(m_slowed, kFastest);
}

} // namespace vantorcd
