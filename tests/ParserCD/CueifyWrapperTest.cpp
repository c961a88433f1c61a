#include "Vantor/Proc/Parsers/ParserCD/Private/CueifyWrapper.h"

#include "ParserCDFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace cdtest;

const char* const OPEN_DEVICE = "std::shared_ptr<cueify_device> OpenDevice(const Vantor::ioPath &)";
const char* const READ_TOC =
    "std::shared_ptr<cueify_full_toc> ReadToc(const std::shared_ptr<cueify_device> &)";

// Failures of the wrapper are Vantor::Exception itself, never a subclass.
Failure Root(const std::string& description, const char* function)
{
    return {"Exception", description, function};
}

class CueifyWrapper : public cdtest::FakeDiscTest
{
};

TEST_F(CueifyWrapper, FailuresAreDescribedAtTheirThrowSiteAndFreeTheirHandles)
{
    const std::pair<std::function<void()>, Failure> cases[] = {
        {[] { OpenDevice(Vantor::ioPath()); }, Root("Empty drive path.", OPEN_DEVICE)},
        {[&] { disc.failNew(), OpenDevice("/dev/rdisk3"); },
         Root("Cannot create new cueify device.", OPEN_DEVICE)},
        {[&] { disc.failOpen(CUEIFY_ERR_NO_DEVICE), OpenDevice("/dev/rdisk3"); },
         Root("Cannot open cueify device /dev/rdisk3. Cueify error: The device could not be opened.",
              OPEN_DEVICE)},
        {[&] { disc.failTocNew(), ReadToc(OpenDevice("/dev/rdisk3")); },
         Root("Cannot create toc.", READ_TOC)},
        {[&] { disc.failTocRead(CUEIFY_ERR_INTERNAL), ReadToc(OpenDevice("/dev/rdisk3")); },
         Root("Cannot read TOC from device. Cueify error: An internal error occured.", READ_TOC)},
    };
    for (const auto& [call, expected] : cases) {
        disc.reset();
        EXPECT_EQ(FailureOf(call), expected);
        ExpectEverythingFreed();
    }
}

TEST_F(CueifyWrapper, EmptyPathOrOwnerMakesNoCall)
{
    FailureOf([] { OpenDevice(Vantor::ioPath()); });
    EXPECT_FALSE(ReadToc(nullptr));
    EXPECT_TRUE(disc.calls().empty());
}

TEST_F(CueifyWrapper, TocStaysReadableAfterTheDeviceIsFreed)
{
    disc.setDisc(AudioDisc(0, {750, 750}));
    std::shared_ptr<cueify_device> device = OpenDevice("/dev/rdisk3");
    const std::shared_ptr<cueify_full_toc> toc = ReadToc(device);
    device.reset();
    EXPECT_EQ(disc.liveDevices(), 0);
    EXPECT_EQ(cueify_full_toc_get_session_last_track(toc.get(), 1), 2);
}

TEST(Msf2Sec, GivesWholeSecondsDroppingFrames)
{
    EXPECT_EQ(Msf2Sec({0, 0, 74}), 0);
    EXPECT_EQ(Msf2Sec({0, 2, 74}), 2000000);
    EXPECT_EQ(Msf2Sec({74, 33, 0}), 4473000000);
    EXPECT_EQ(Msf2Sec({255, 59, 74}), 15359000000);
}

TEST(CueifyError2String, NamesCodesOneToNineAndNothingElse)
{
    std::string texts;
    for (int code = -1; code <= 10; ++code)
        texts += CueifyError2String(code) + "\n";
    EXPECT_EQ(texts, R"(Undefined cueify_error.
Undefined cueify_error.
The data requested is not present.
An internal error occured.
A bad argument was provided.
Memory could not be allocated during this operation.
The device could not be opened.
The serialized data was truncated.
The serialized data was corrupted.
The serialized data could not fit.
The CD-Text data was invalid.
Undefined cueify_error.
)");
}

} // namespace
