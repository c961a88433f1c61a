// What the open tests share: a tracker that records its reports, the failure an open throws as
// plain values, and .cda files written at run time.
#pragma once

#include "ScratchDirectory.h"

#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Proc/ICoreTracker.h"
#include "Vantor/Proc/Parsers/ParserCD/ParserCD.h"

#include <boost/exception/get_error_info.hpp>
#include <boost/throw_exception.hpp>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace openfixture {

namespace fs = std::filesystem;
using testsupport::ScratchDirectory;

constexpr const char* OPEN_FUNCTION = "void Vantor::Proc::ParserCD::Open(const SP<Core::IDataInput> &)";
constexpr const char* READ_DATAMODE_FUNCTION =
    "int (anonymous namespace)::ReadDatamode(const std::shared_ptr<cueify_device> &, "
    "const std::shared_ptr<cueify_full_toc> &, uint8_t)";
constexpr int OPEN_INPUT_ERROR = 37;

struct Report
{
    std::string eventKey;
    std::string message;
    std::string source;

    bool operator==(const Report& other) const
    {
        return eventKey == other.eventKey && message == other.message && source == other.source;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Report& report)
{
    return out << '{' << report.eventKey << ", " << report.message << ", " << report.source << '}';
}

// The open failure reported with the host's event key and the parser's source name.
inline Report FileOpenReport(const std::string& message)
{
    return {Vantor::Proc::ICoreTracker::CORE_EXCEPTION_FILE_OPEN, message, "ParserCD"};
}

class RecordingTracker final : public Vantor::Proc::ICoreTracker
{
public:
    long AddRef() const override { return m_refCount.AddRefImpl(); }
    long GetRefCount() const override { return m_refCount.GetRefCountImpl(); }
    long Release() const override
    {
        const long left = m_refCount.ReleaseImpl();
        if (left == 0)
            delete this;
        return left;
    }

    void ReportException(const std::string& eventKey, const std::string& message,
                         const std::string& source) override
    {
        reports.push_back({eventKey, message, source});
    }

    std::vector<Report> reports;

private:
    Vantor::RefCountImpl m_refCount;
};

// An exception as the host sees it: its class, its tags and its throw site.
struct Failure
{
    std::string kind; // "ParserException", "CDReaderException" or "Exception"
    std::string description;
    std::optional<int> code;
    std::optional<std::string> fileName;
    std::string function;
    bool hasCallStack = true;

    bool operator==(const Failure& other) const
    {
        return kind == other.kind && description == other.description && code == other.code &&
               fileName == other.fileName && function == other.function && hasCallStack == other.hasCallStack;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Failure& failure)
{
    out << failure.kind << " \"" << failure.description << "\" code " << failure.code.value_or(-1)
        << " file \"" << failure.fileName.value_or("(none)") << "\" in \"" << failure.function << '"';
    return out << (failure.hasCallStack ? " with" : " without") << " call stack";
}

inline std::string KindOf(const Vantor::Exception& caught)
{
    if (dynamic_cast<const Vantor::Proc::ParserException*>(&caught) != nullptr)
        return "ParserException";
    if (dynamic_cast<const Vantor::Proc::CDReaderException*>(&caught) != nullptr)
        return "CDReaderException";
    return "Exception";
}

inline Failure FailureOf(const Vantor::Exception& caught)
{
    Failure failure;
    failure.kind = KindOf(caught);
    if (const std::string* description = boost::get_error_info<Vantor::ErrorDescription>(caught))
        failure.description = *description;
    if (const auto* code = boost::get_error_info<Vantor::Proc::ErrorTranscodingCode>(caught))
        failure.code = static_cast<int>(*code);
    if (const std::string* fileName = boost::get_error_info<Vantor::ErrorFilename>(caught))
        failure.fileName = *fileName;
    if (const char* const* function = boost::get_error_info<boost::throw_function>(caught))
        failure.function = *function;
    failure.hasCallStack = boost::get_error_info<Vantor::ErrorCallStack>(caught) != nullptr;
    return failure;
}

// A ParserException thrown by the open with the code 37 every open failure carries.
inline Failure OpenInputFailure(const std::string& description, std::optional<std::string> fileName)
{
    return {"ParserException", description, OPEN_INPUT_ERROR, std::move(fileName), OPEN_FUNCTION, true};
}

inline Vantor::SP<Vantor::Proc::IParser> Open(const std::string& path,
                                              const Vantor::SP<Vantor::Proc::ICoreTracker>& tracker = nullptr)
{
    return Vantor::Proc::ParserCD::Create(Vantor::Core::DataInputPath::Create(path), {}, tracker);
}

// The host's exception that opening the path throws; a test failure if it opens.
inline Failure OpenFailure(const std::string& path,
                           const Vantor::SP<Vantor::Proc::ICoreTracker>& tracker = nullptr)
{
    try {
        Open(path, tracker);
    } catch (const Vantor::Exception& caught) {
        return FailureOf(caught);
    }
    ADD_FAILURE() << path << " opened";
    return {};
}

// The 44 bytes of a valid .cda file; tests overwrite single fields to break it.
inline std::vector<uint8_t> CdaBytes(uint16_t track, uint32_t serial)
{
    std::vector<uint8_t> bytes(44, 0);
    const auto put = [&bytes](size_t offset, uint32_t value, size_t size) {
        for (size_t i = 0; i < size; ++i)
            bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    };
    const auto text = [&bytes](size_t offset, const char* tag) {
        std::copy(tag, tag + 4, bytes.begin() + offset);
    };
    text(0, "RIFF");
    put(4, 36, 4);
    text(8, "CDDA");
    text(12, "fmt ");
    put(16, 24, 4);
    put(20, 1, 2);
    put(22, track, 2);
    put(24, serial, 4);
    put(28, 0, 4);     // start sector, not used
    put(32, 15040, 4); // length in sectors, not used
    return bytes;
}

inline void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good()) << path;
}

// A subdirectory of parent, created.
inline fs::path MakeDirectory(const fs::path& parent, const std::string& name)
{
    fs::create_directories(parent / name);
    return parent / name;
}

} // namespace openfixture
