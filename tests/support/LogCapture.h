// Collects what glog logs while it exists, so that tests compare severities and messages exactly.
#pragma once

#include <glog/logging.h>

#include <mutex>
#include <string>
#include <vector>

namespace support {

// A glog sink from construction to destruction; glog calls it on whichever thread logged. Not
// copyable: glog holds it by address.
class LogCapture : public google::LogSink
{
public:
    LogCapture() { google::AddLogSink(this); }
    ~LogCapture() override { google::RemoveLogSink(this); }

    // Every line logged so far, in order, as "SEVERITY: message".
    std::vector<std::string> lines() const
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines;
    }

    using google::LogSink::send;
    void send(google::LogSeverity severity, const char*, const char*, int, const google::LogMessageTime&,
              const char* message, size_t messageLength) override
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.push_back(google::GetLogSeverityName(severity) + std::string(": ") +
                          std::string(message, messageLength));
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

} // namespace support
