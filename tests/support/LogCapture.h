// Collects what glog logs while it exists, so that tests compare severities and messages exactly.
#pragma once

#include <glog/logging.h>

#include <mutex>
#include <string>
#include <vector>

namespace support {

struct LogLine
{
    google::LogSeverity severity = google::GLOG_INFO;
    std::string message;
};

// A glog sink from construction to destruction; glog calls it on whichever thread logged. Not
// copyable: glog holds it by address.
class LogCapture : public google::LogSink
{
public:
    LogCapture() { google::AddLogSink(this); }
    ~LogCapture() override { google::RemoveLogSink(this); }

    std::vector<LogLine> lines() const
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines;
    }

    // The messages of one severity, in the order they were logged.
    std::vector<std::string> messages(google::LogSeverity severity) const
    {
        std::vector<std::string> result;
        for (const LogLine& line : lines())
            if (line.severity == severity)
                result.push_back(line.message);
        return result;
    }

    using google::LogSink::send;
    void send(google::LogSeverity severity, const char*, const char*, int, const google::LogMessageTime&,
              const char* message, size_t messageLength) override
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.push_back(LogLine{severity, std::string(message, messageLength)});
    }

private:
    mutable std::mutex m_mutex;
    std::vector<LogLine> m_lines;
};

} // namespace support
