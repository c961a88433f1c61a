#include "Vantor/Proc/Parsers/ParserCD/Private/CueifyWrapper.h"

#include "ThrownFailure.h"
#include "cueify_fake/FakeCueify.h"

#include "Vantor/Core/Interfaces/Exceptions.h"

#include <gtest/gtest.h>

namespace {

using testsupport::FailureOf;

const char* const kOpenDeviceFunction = "std::shared_ptr<cueify_device> OpenDevice(const Vantor::ioPath &)";
const char* const kReadTocFunction =
    "std::shared_ptr<cueify_full_toc> ReadToc(const std::shared_ptr<cueify_device> &)";

class CueifyWrapper : public testing::Test
{
protected:
    void SetUp() override { fake.reset(); }
    void TearDown() override
    {
        EXPECT_TRUE(fake.misuses().empty());
        fake.reset();
    }

    fake::FakeCueify& fake = fake::FakeCueify::instance();
};

TEST_F(CueifyWrapper, EmptyPathFailsWithoutCallingCueify)
{
    const auto failure = FailureOf<Vantor::Exception>([] { OpenDevice(Vantor::ioPath()); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->description, "Empty drive path.");
    EXPECT_EQ(failure->function, kOpenDeviceFunction);
    EXPECT_TRUE(failure->hasCallStack);
    EXPECT_TRUE(failure->hasLocation);
    EXPECT_TRUE(fake.calls().empty());
}

TEST_F(CueifyWrapper, FailuresAreTheRootClassOnly)
{
    try {
        OpenDevice(Vantor::ioPath());
        FAIL() << "no exception";
    } catch (const Vantor::Exception& e) {
        EXPECT_EQ(dynamic_cast<const Vantor::Proc::ProcException*>(&e), nullptr);
        EXPECT_EQ(dynamic_cast<const Vantor::Core::CoreException*>(&e), nullptr);
    }
}

TEST_F(CueifyWrapper, DeviceThatCannotBeCreatedFails)
{
    fake.failNew();
    const auto failure = FailureOf<Vantor::Exception>([] { OpenDevice("/dev/rdisk3"); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->description, "Cannot create new cueify device.");
    EXPECT_EQ(failure->function, kOpenDeviceFunction);
    EXPECT_TRUE(failure->hasCallStack);
    EXPECT_FALSE(fake.wasCalled("cueify_device_open"));
}

TEST_F(CueifyWrapper, DeviceThatCannotBeOpenedIsDescribedAndFreed)
{
    fake.failOpen(CUEIFY_ERR_NO_DEVICE);
    const auto failure = FailureOf<Vantor::Exception>([] { OpenDevice("/dev/rdisk3"); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->description,
              "Cannot open cueify device /dev/rdisk3. Cueify error: The device could not be opened.");
    EXPECT_EQ(failure->function, kOpenDeviceFunction);
    EXPECT_TRUE(failure->hasCallStack);
    EXPECT_EQ(fake.countCalls("cueify_device_new"), 1u);
    EXPECT_EQ(fake.countCalls("cueify_device_free"), 1u);
    EXPECT_EQ(fake.liveDevices(), 0);
}

TEST_F(CueifyWrapper, TocOfNoDeviceIsEmptyWithoutCallingCueify)
{
    EXPECT_FALSE(ReadToc(std::shared_ptr<cueify_device>()));
    EXPECT_TRUE(fake.calls().empty());
}

TEST_F(CueifyWrapper, TocThatCannotBeCreatedFails)
{
    fake.failTocNew();
    const std::shared_ptr<cueify_device> device = OpenDevice("/dev/rdisk3");
    const auto failure = FailureOf<Vantor::Exception>([&] { ReadToc(device); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->description, "Cannot create toc.");
    EXPECT_EQ(failure->function, kReadTocFunction);
    EXPECT_TRUE(failure->hasCallStack);
    EXPECT_FALSE(fake.wasCalled("cueify_device_read_full_toc"));
}

TEST_F(CueifyWrapper, TocThatCannotBeReadIsDescribedAndFreed)
{
    fake.failTocRead(CUEIFY_ERR_INTERNAL);
    const std::shared_ptr<cueify_device> device = OpenDevice("/dev/rdisk3");
    const auto failure = FailureOf<Vantor::Exception>([&] { ReadToc(device); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->description, "Cannot read TOC from device. Cueify error: An internal error occured.");
    EXPECT_EQ(failure->function, kReadTocFunction);
    EXPECT_TRUE(failure->hasCallStack);
    EXPECT_EQ(fake.liveTocs(), 0);
    EXPECT_EQ(fake.openDevices(), 1);
}

TEST_F(CueifyWrapper, TocStaysReadableAfterTheDeviceIsFreed)
{
    fake::FakeDisc disc;
    disc.sessions = {{1, 1, 1, CUEIFY_SESSION_MODE_1, {0, 2, 0}},
                     {2, 2, 4, CUEIFY_SESSION_MODE_1, {9, 0, 0}}};
    disc.tracks = {{1, 1, 0, 1, {0, 2, 0}, {0, 0, 0}}};
    fake.setDisc(disc);
    std::shared_ptr<cueify_device> device = OpenDevice("/dev/rdisk3");
    const std::shared_ptr<cueify_full_toc> toc = ReadToc(device);
    device.reset();
    EXPECT_EQ(fake.liveDevices(), 0);
    EXPECT_EQ(fake.liveTocs(), 1);
    EXPECT_EQ(cueify_full_toc_get_last_session(toc.get()), 2);
    EXPECT_EQ(cueify_full_toc_get_session_last_track(toc.get(), 2), 4);
}

struct MsfCase
{
    cueify_msf_t msf;
    Vantor::avTime expected;
};

class Msf2SecCase : public testing::TestWithParam<MsfCase>
{
};

TEST_P(Msf2SecCase, GivesWholeSecondsDroppingFrames)
{
    EXPECT_EQ(Msf2Sec(GetParam().msf), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(CueifyWrapper, Msf2SecCase,
                         testing::Values(MsfCase{{0, 0, 74}, 0}, MsfCase{{0, 2, 74}, 2000000},
                                         MsfCase{{3, 25, 60}, 205000000}, MsfCase{{74, 33, 0}, 4473000000},
                                         MsfCase{{255, 59, 74}, 15359000000}));

struct ErrorTextCase
{
    int code;
    const char* text;
};

class CueifyErrorText : public testing::TestWithParam<ErrorTextCase>
{
};

TEST_P(CueifyErrorText, MatchesTheCode)
{
    EXPECT_EQ(CueifyError2String(GetParam().code), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    CueifyWrapper, CueifyErrorText,
    testing::Values(ErrorTextCase{-1, "Undefined cueify_error."}, ErrorTextCase{0, "Undefined cueify_error."},
                    ErrorTextCase{1, "The data requested is not present."},
                    ErrorTextCase{2, "An internal error occured."},
                    ErrorTextCase{3, "A bad argument was provided."},
                    ErrorTextCase{4, "Memory could not be allocated during this operation."},
                    ErrorTextCase{5, "The device could not be opened."},
                    ErrorTextCase{6, "The serialized data was truncated."},
                    ErrorTextCase{7, "The serialized data was corrupted."},
                    ErrorTextCase{8, "The serialized data could not fit."},
                    ErrorTextCase{9, "The CD-Text data was invalid."},
                    ErrorTextCase{10, "Undefined cueify_error."}));

} // namespace
