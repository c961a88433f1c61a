// Discs on the in-memory cueify fake, and what a host sees: exceptions as values, tracker reports.
#pragma once

#include "LogCapture.h"
#include "ScratchDirectory.h"
#include "cueify_fake/FakeCueify.h"

#include "Vantor/Conf/CDFormats.h"
#include "Vantor/Conf/IFormatFile.h"
#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Proc/ICDReader.h"
#include "Vantor/Proc/ICoreTracker.h"
#include "Vantor/Proc/Parsers/ParserCD/ParserCD.h"

#include <boost/core/demangle.hpp>
#include <boost/exception/get_error_info.hpp>
#include <boost/throw_exception.hpp>
#include <discgeometry/DiscGeometry.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

namespace cdtest {

using Vantor::SP;

constexpr const char* kOpenFunction = "void Vantor::Proc::ParserCD::Open(const SP<Core::IDataInput> &)";

// One session of audio tracks laid end to end from logical block 0; lengths in sectors.
inline fake::FakeDisc AudioDisc(const std::vector<uint32_t>& lengths)
{
    const auto msf = [](uint32_t sectors) {
        const discgeometry::Msf msf = discgeometry::toMsf(sectors);
        return fake::Msf{uint8_t(msf.minutes), uint8_t(msf.seconds), uint8_t(msf.frames)};
    };
    fake::FakeDisc disc;
    uint32_t address = 150;
    for (const uint32_t length : lengths) {
        disc.tracks.push_back({uint8_t(disc.tracks.size() + 1), 1, 0, 1, msf(address), msf(length)});
        address += length;
    }
    disc.sessions.push_back({1, 1, uint8_t(lengths.size()), CUEIFY_SESSION_MODE_1, msf(address)});
    return disc;
}

// The track path of a track on /dev/sr0, with the text that stands between the track prefix and ".cda".
inline std::string TrackPath(const std::string& trackPart)
{
    return "cdda:///dev/sr0#track" + trackPart + ".cda";
}

// An exception in one line: its class as thrown (namespaces dropped), description, throw site and
// the tags it carries.
inline std::string Failure(const std::string& kind, const std::string& description,
                           const std::string& function, std::optional<int> code = {},
                           const std::optional<std::string>& fileName = {},
                           std::optional<Vantor::Index> stream = {})
{
    std::string text = kind + " \"" + description + "\" in \"" + function + "\"";
    if (code)
        text += " code " + std::to_string(*code);
    if (fileName)
        text += " file \"" + *fileName + "\"";
    if (stream)
        text += " stream " + std::to_string(*stream);
    return text;
}

template <class Tag> auto TagOf(const Vantor::Exception& e)
{
    const auto* value = boost::get_error_info<Tag>(e);
    return value ? std::optional(*value) : std::nullopt;
}

// An exception's class as thrown, namespaces dropped: for BOOST_THROW_EXCEPTION's wrapper, the
// class it wraps, so that a subclass never passes for its base.
inline std::string KindOf(const std::exception& e)
{
    const std::string name = boost::core::demangle(typeid(e).name());
    const size_t start = name.rfind("::") + 2;
    return name.substr(start, name.find('>') - start);
}

// The failure that call throws. A failure without call stack or throw location, or whose what()
// was changed, says so; any other exception shows its what().
template <class Call> std::string FailureOf(Call&& call)
{
    try {
        call();
    } catch (const Vantor::Exception& e) {
        const bool standard = TagOf<Vantor::ErrorCallStack>(e) && TagOf<boost::throw_file>(e) &&
                              TagOf<boost::throw_line>(e) && std::string(e.what()) == std::exception().what();
        return Failure(KindOf(e), TagOf<Vantor::ErrorDescription>(e).value_or(""),
                       TagOf<boost::throw_function>(e).value_or(""),
                       TagOf<Vantor::Proc::ErrorTranscodingCode>(e), TagOf<Vantor::ErrorFilename>(e),
                       TagOf<Vantor::Proc::ErrorStreamIndex>(e)) +
               (standard ? "" : ", not in the standard form");
    } catch (const std::exception& e) {
        return KindOf(e) + " \"" + e.what() + "\"";
    }
    return "nothing thrown";
}

// A ParserException of the open, with the transcoding error code 37 it carries.
inline std::string OpenInputFailure(const std::string& description,
                                    const std::optional<std::string>& fileName)
{
    return Failure("ParserException", description, kOpenFunction, 37, fileName);
}

class RecordingTracker final : public Vantor::RefCounted<Vantor::Proc::ICoreTracker>
{
public:
    void ReportException(const std::string& key, const std::string& message,
                         const std::string& source) override
    {
        reports.push_back(key + ": " + message + " (" + source + ")");
    }

    std::vector<std::string> reports;
};

// The report of an open failure, with the host's event key and the parser's source name.
inline std::vector<std::string> FileOpenReport(const std::string& message)
{
    return {Vantor::Proc::ICoreTracker::CORE_EXCEPTION_FILE_OPEN + ": " + message + " (ParserCD)"};
}

inline SP<Vantor::Proc::IParser> Open(const std::string& path,
                                      const SP<Vantor::Proc::ICoreTracker>& tracker = nullptr)
{
    return Vantor::Proc::ParserCD::Create(Vantor::Core::DataInputPath::Create(path), {}, tracker);
}

// Resets the fake and the host's CD format list around each test; no handle may be misused.
class FakeDiscTest : public testing::Test
{
protected:
    void SetUp() override { disc.reset(); }
    void TearDown() override
    {
        EXPECT_EQ(disc.misuses(), std::vector<std::string>{});
        disc.reset();
        Vantor::Conf::SetCDFormatList(formats);
    }

    // Call once every object of the test is released.
    void ExpectEverythingFreed() const
    {
        EXPECT_EQ(disc.misuses(), std::vector<std::string>{});
        EXPECT_EQ(disc.liveDevices(), 0);
        EXPECT_EQ(disc.liveTocs(), 0);
    }

    // Opening path fails so with a tracker, which receives the report if there is one, and without.
    void ExpectFailure(const std::string& path, const std::string& failure, const std::string& report = "")
    {
        SCOPED_TRACE(path);
        tracker->reports.clear();
        EXPECT_EQ(FailureOf([&] { Open(path, tracker); }), failure);
        EXPECT_EQ(tracker->reports, report.empty() ? std::vector<std::string>{} : FileOpenReport(report));
        EXPECT_EQ(FailureOf([&] { Open(path); }), failure);
        EXPECT_EQ(tracker->GetRefCount(), 1); // the failed parser is gone
        ExpectEverythingFreed();
    }

    fake::FakeCueify& disc = fake::FakeCueify::instance();
    const SP<RecordingTracker> tracker{new RecordingTracker};
    const std::vector<std::string> formats = Vantor::Conf::GetCDFormatList();
};

} // namespace cdtest
