// A one-line progress display on standard error: percent, a bar, the speed as a multiple of
// real time (1x is 176,400 bytes of CD audio a second) and the time left.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace vantorcd {

struct ProgressFigures
{
    double fraction = 0;     // 0 to 1
    double speed = 0;        // multiple of real time
    double secondsLeft = -1; // negative while unknown
};

// The line without carriage return, for example " 42% [########----------]  12.3x  0:05 left".
std::string renderProgress(const ProgressFigures& figures);

class ProgressBar
{
public:
    // Shows nothing unless enabled (the program enables it when standard error is a terminal).
    ProgressBar(uint64_t totalBytes, bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Redraws at most ten times a second.
    void update(uint64_t bytesDone);
    // Clears the line.
    void finish() noexcept;

private:
    using Clock = std::chrono::steady_clock;

    uint64_t m_total;
    bool m_enabled;
    bool m_drawn = false;
    Clock::time_point m_start;
    Clock::time_point m_lastDraw;
};

} // namespace vantorcd
