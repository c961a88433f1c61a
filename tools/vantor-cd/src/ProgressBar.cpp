#include "ProgressBar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vantorcd {
namespace {

constexpr double kRealTimeBytesPerSecond = 176400;
constexpr int kBarWidth = 24;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string timeLeftText(double seconds)
{
    if (seconds < 0)
        return "--:-- left";
    const long long whole = std::llround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld left", whole / 60, whole % 60);
    return text;
}

} // namespace

std::string renderProgress(const ProgressFigures& figures)
{
    const double fraction = std::clamp(figures.fraction, 0.0, 1.0);
    const int filled = static_cast<int>(fraction * kBarWidth);
    const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '-');
    char text[128];
    std::snprintf(text, sizeof text, "%3d%% [%s] %6.1fx  %s", static_cast<int>(fraction * 100), bar.c_str(),
                  figures.speed, timeLeftText(figures.secondsLeft).c_str());
    return text;
}

ProgressBar::ProgressBar(uint64_t totalBytes, bool enabled)
    : m_total(totalBytes), m_enabled(enabled), m_start(Clock::now()), m_lastDraw(m_start)
{
}

ProgressBar::~ProgressBar()
{
    finish();
}

void ProgressBar::update(uint64_t bytesDone)
{
    if (!m_enabled)
        return;
    const Clock::time_point now = Clock::now();
    if (now - m_lastDraw < kRedrawInterval)
        return;
    m_lastDraw = now;
    const double elapsed = std::chrono::duration<double>(now - m_start).count();
    ProgressFigures figures;
    figures.fraction = m_total ? static_cast<double>(bytesDone) / static_cast<double>(m_total) : 1.0;
    const double bytesPerSecond = elapsed > 0 ? static_cast<double>(bytesDone) / elapsed : 0;
    figures.speed = bytesPerSecond / kRealTimeBytesPerSecond;
    if (bytesPerSecond > 0)
        figures.secondsLeft = static_cast<double>(m_total - std::min(bytesDone, m_total)) / bytesPerSecond;
    std::fprintf(stderr, "\r%s", renderProgress(figures).c_str());
    std::fflush(stderr);
    m_drawn = true;
}

void ProgressBar::finish() noexcept
{
    if (!m_drawn)
        return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    m_drawn = false;
}

} // namespace vantorcd
