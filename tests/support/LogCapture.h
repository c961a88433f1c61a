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
    std::string file; // base name of the source file that logged
    int line = 0;
    std::string message;
};

// Registers itself as a glog sink on construction and unregisters on destruction. Thread-safe:
// glog calls the sink on whichever thread logged.
class LogCapture : public google::LogSink
{
public:
    LogCapture();
    ~LogCapture() override;
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<LogLine> lines() const;
    // The messages of one severity, in the order they were logged.
    std::vector<std::string> messages(google::LogSeverity severity) const;
    void clear();

    using google::LogSink::send;
    void send(google::LogSeverity severity, const char* fullFilename, const char* baseFilename, int line,
              const google::LogMessageTime& time, const char* message, size_t messageLength) override;

private:
    mutable std::mutex m_mutex;
    std::vector<LogLine> m_lines;
};

} // namespace support
