// The process runs out of file descriptors while a track opens: the open fails with the
// disc-access error, or succeeds once enough descriptors are free, and never keeps one.
#include "ScratchDirectory.h"
#include "host/OpenDescriptors.h"
#include "host/PluginHost.h"
#include "host/TestDisc.h"

#include "Vantor/Core/Interfaces/Exceptions.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace reliability {
namespace {

constexpr int kMostDescriptorsAnOpenNeeds = 8;

// The number the next open() would return: every descriptor below it is taken.
rlim_t lowestFreeDescriptor()
{
    const int probe = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::close(probe);
    return static_cast<rlim_t>(probe);
}

// Lowers the soft limit on open files for its lifetime.
class DescriptorLimit
{
public:
    explicit DescriptorLimit(rlim_t limit)
    {
        ::getrlimit(RLIMIT_NOFILE, &m_before);
        rlimit lowered = m_before;
        lowered.rlim_cur = limit;
        m_applied = ::setrlimit(RLIMIT_NOFILE, &lowered) == 0;
    }
    ~DescriptorLimit() { ::setrlimit(RLIMIT_NOFILE, &m_before); }
    DescriptorLimit(const DescriptorLimit&) = delete;
    DescriptorLimit& operator=(const DescriptorLimit&) = delete;

    bool applied() const noexcept { return m_applied; }

private:
    rlimit m_before{};
    bool m_applied = false;
};

// "" when the track opened and delivered its first sector, else the description of the failure.
std::string openAndReadFirstSector(const PluginHost& host, const std::string& trackPath, const TestDisc& disc)
{
    try {
        const Vantor::SP<Vantor::Proc::IParser> parser = host.open(trackPath);
        return isSector(parser->Read(), disc.sector(1, 0), 0) ? "" : "a wrong first sector";
    } catch (const Vantor::Proc::CDReaderException& e) {
        return descriptionOf(e);
    }
}

TEST(DescriptorExhaustion, OpenFailsWithTheDeviceErrorUntilDescriptorsAreFreeAndKeepsNone)
{
    testsupport::ScratchDirectory directory;
    const TestDisc disc(directory.path(), mkdisc::DataFileFormat::Wave, true);
    const PluginHost host;
    const std::string trackPath = host.readDisc(disc.written.cueSheet)->GetTrackPath(1).utf8string();
    const std::string deviceError = "Cannot open cueify device " + disc.written.cueSheet.string() +
                                    ". Cueify error: The device could not be opened.";
    // An open and a failed open with descriptors to spare fill UndefinedBehaviorSanitizer's cache
    // of checked dynamic types first: its check of a type it has not seen probes memory through a pipe.
    ASSERT_EQ(openAndReadFirstSector(host, trackPath, disc), "");
    const std::string missing = PluginHost::trackPath(directory.path() / "missing.cue", 1);
    ASSERT_NE(openAndReadFirstSector(host, missing, disc), "");
    const std::string malformed = PluginHost::trackPath(directory.path() / "malformed" / "bad.cue", 1);
    std::filesystem::create_directories(directory.path() / "malformed");
    std::ofstream(directory.path() / "malformed" / "bad.cue") << "FILE\n";
    ASSERT_NE(openAndReadFirstSector(host, malformed, disc), "");

    bool opened = false;
    for (int spare = 0; spare <= kMostDescriptorsAnOpenNeeds && !opened; ++spare) {
        SCOPED_TRACE(std::to_string(spare) + " descriptors free");
        std::string outcome;
        {
            const DescriptorLimit limit(lowestFreeDescriptor() + spare);
            ASSERT_TRUE(limit.applied());
            outcome = openAndReadFirstSector(host, trackPath, disc);
        }
        opened = outcome.empty();
        if (!opened)
            EXPECT_EQ(outcome, deviceError);
        EXPECT_TRUE(spare > 0 || !opened) << "opened without a free descriptor";
        EXPECT_EQ(descriptorsOpenUnder(directory.path()), 0u);
    }
    EXPECT_TRUE(opened) << "the track did not open with " << kMostDescriptorsAnOpenNeeds
                        << " descriptors free";
}

} // namespace
} // namespace reliability
