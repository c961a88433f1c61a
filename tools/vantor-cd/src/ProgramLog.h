// The plug-in reports a failed sector read only in its log. The program keeps glog's messages
// off the terminal (unless asked to show them) and remembers the last error line, so that it
// can name the reason in its own one-line message.
#pragma once

#include <glog/logging.h>

#include <mutex>
#include <string>

namespace vantorcd {

class ProgramLog : public google::LogSink
{
public:
    // Sets glog up for a command-line program: no log files, and messages on standard error
    // only when verbose. Registers this sink for the object's lifetime.
    ProgramLog(const char* programName, bool verbose);
    ~ProgramLog() override;
    ProgramLog(const ProgramLog&) = delete;
    ProgramLog& operator=(const ProgramLog&) = delete;

    using google::LogSink::send;
    void send(google::LogSeverity severity, const char* fullFilename, const char* baseFilename, int line,
              const google::LogMessageTime& time, const char* message, size_t messageLength) override;

    // The text of the last ERROR message, or empty.
    std::string lastError() const;

private:
    mutable std::mutex m_mutex;
    std::string m_lastError;
};

} // namespace vantorcd
