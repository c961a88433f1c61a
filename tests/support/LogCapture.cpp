#include "LogCapture.h"

namespace support {

LogCapture::LogCapture()
{
    google::AddLogSink(this);
}

LogCapture::~LogCapture()
{
    google::RemoveLogSink(this);
}

std::vector<LogLine> LogCapture::lines() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

std::vector<std::string> LogCapture::messages(google::LogSeverity severity) const
{
    std::vector<std::string> result;
    for (const LogLine& line : lines())
        if (line.severity == severity)
            result.push_back(line.message);
    return result;
}

void LogCapture::clear()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

void LogCapture::send(google::LogSeverity severity, const char*, const char* baseFilename, int line,
                      const google::LogMessageTime&, const char* message, size_t messageLength)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.push_back(LogLine{severity, baseFilename, line, std::string(message, messageLength)});
}

} // namespace support
