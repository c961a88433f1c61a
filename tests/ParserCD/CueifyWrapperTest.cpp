#include "Vantor/Proc/Parsers/ParserCD/Private/CueifyWrapper.h"

#include "ParserCDFixture.h"

namespace {

using namespace cdtest;
using CueifyWrapper = FakeDiscTest;

const char* const kOpenDevice = "std::shared_ptr<cueify_device> OpenDevice(const Vantor::ioPath &)";
const char* const kReadToc =
    "std::shared_ptr<cueify_full_toc> ReadToc(const std::shared_ptr<cueify_device> &)";

// Failures are Vantor::Exception itself, never a subclass; an empty path or owner calls no C function.
TEST_F(CueifyWrapper, FailuresNameTheirThrowSiteAndFreeTheirHandlesAndEmptyInputCallsNothing)
{
    const std::pair<std::function<void()>, Failure> cases[] = {
        {[] { OpenDevice(Vantor::ioPath()); }, {"Exception", "Empty drive path.", kOpenDevice}},
        {[&] { disc.failNew(), OpenDevice("/dev/rdisk3"); },
         {"Exception", "Cannot create new cueify device.", kOpenDevice}},
        {[&] { disc.failOpen(CUEIFY_ERR_NO_DEVICE), OpenDevice("/dev/rdisk3"); },
         {"Exception", "Cannot open cueify device /dev/rdisk3. Cueify error: The device could not be opened.",
          kOpenDevice}},
        {[&] { disc.failTocNew(), ReadToc(OpenDevice("/dev/rdisk3")); },
         {"Exception", "Cannot create toc.", kReadToc}},
        {[&] { disc.failTocRead(CUEIFY_ERR_INTERNAL), ReadToc(OpenDevice("/dev/rdisk3")); },
         {"Exception", "Cannot read TOC from device. Cueify error: An internal error occured.", kReadToc}},
    };
    for (const auto& [call, expected] : cases) {
        disc.reset();
        EXPECT_EQ(FailureOf(call), expected);
        ExpectEverythingFreed();
    }
    disc.reset();
    FailureOf([] { OpenDevice(Vantor::ioPath()); });
    EXPECT_FALSE(ReadToc(nullptr));
    EXPECT_TRUE(disc.calls().empty());
}

TEST(CueifyWrapperValues, Msf2SecDropsFramesAndCueifyError2StringNamesCodesOneToNine)
{
    EXPECT_EQ(Msf2Sec({0, 0, 74}), 0);
    EXPECT_EQ(Msf2Sec({74, 33, 0}), 4473000000);
    EXPECT_EQ(Msf2Sec({255, 59, 74}), 15359000000);
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
