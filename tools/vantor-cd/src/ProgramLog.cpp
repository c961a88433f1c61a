#include "ProgramLog.h"

namespace vantorcd {

ProgramLog::ProgramLog(const char* programName, bool verbose)
{
    if (!google::IsGoogleLoggingInitialized())
        google::InitGoogleLogging(programName);
    for (google::LogSeverity severity = google::GLOG_INFO; severity < google::NUM_SEVERITIES; ++severity)
        google::SetLogDestination(severity, "");
    google::SetStderrLogging(verbose ? google::GLOG_INFO : google::NUM_SEVERITIES);
    google::AddLogSink(this);
}

ProgramLog::~ProgramLog()
{
    google::RemoveLogSink(this);
}

void ProgramLog::send(google::LogSeverity severity, const char*, const char*, int,
                      const google::LogMessageTime&, const char* message, size_t messageLength)
{
    if (severity != google::GLOG_ERROR)
        return;
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_lastError.assign(message, messageLength);
}

std::string ProgramLog::lastError() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastError;
}

} // namespace vantorcd
