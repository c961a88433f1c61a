#include "TimeText.h"

#include "UserError.h"

#include <cstdio>

namespace vantorcd {
namespace {

constexpr Vantor::avTime kMicrosecondsPerSecond = 1000000;
constexpr size_t kMaxWholeDigits = 9;
constexpr size_t kMaxFractionDigits = 6;

UserError badTime(const std::string& text)
{
    return UserError("bad time \"" + text + "\": use seconds (90, 12.5) or m:ss(.fff) (1:30, 0:04.250)");
}

bool allDigits(const std::string& text)
{
    return text.find_first_not_of("0123456789") == std::string::npos;
}

Vantor::avTime wholeNumber(const std::string& digits, const std::string& text)
{
    if (digits.empty() || digits.size() > kMaxWholeDigits || !allDigits(digits))
        throw badTime(text);
    return std::stoll(digits);
}

// "12.5" as microseconds.
Vantor::avTime secondsWithFraction(const std::string& seconds, const std::string& text)
{
    const size_t dot = seconds.find('.');
    const Vantor::avTime whole = wholeNumber(seconds.substr(0, dot), text) * kMicrosecondsPerSecond;
    if (dot == std::string::npos)
        return whole;
    std::string fraction = seconds.substr(dot + 1);
    if (fraction.empty() || fraction.size() > kMaxFractionDigits || !allDigits(fraction))
        throw badTime(text);
    fraction.resize(kMaxFractionDigits, '0');
    return whole + std::stoll(fraction);
}

} // namespace

Vantor::avTime parseTime(const std::string& text)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return secondsWithFraction(text, text);
    const std::string seconds = text.substr(colon + 1);
    if (seconds.size() < 2 || seconds[0] < '0' || seconds[0] > '5' || seconds[1] < '0' || seconds[1] > '9' ||
        (seconds.size() > 2 && seconds[2] != '.'))
        throw badTime(text);
    return wholeNumber(text.substr(0, colon), text) * 60 * kMicrosecondsPerSecond +
           secondsWithFraction(seconds, text);
}

std::string formatDuration(Vantor::avTime time)
{
    const long long seconds = time < 0 ? 0 : time / kMicrosecondsPerSecond;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

} // namespace vantorcd
