#include "Vantor/Core/Interfaces/Throw.h"

#include <boost/exception/get_error_info.hpp>
#include <gtest/gtest.h>

#include <string>

namespace {

// A failure from a lower layer that says nothing at all.
class SilentFailure : public Vantor::Exception
{
public:
    const char* what() const noexcept override { return nullptr; }
};

class WordyFailure : public Vantor::Exception
{
public:
    const char* what() const noexcept override { return "device went away"; }
};

void TranslateIntoCDReaderException(const Vantor::Exception& caught)
{
    VANTOR_THROW_TRANSLATED(Vantor::Proc::CDReaderException, caught);
}

Vantor::Proc::CDReaderException Translated(const Vantor::Exception& caught)
{
    try {
        TranslateIntoCDReaderException(caught);
    } catch (const Vantor::Proc::CDReaderException& e) {
        return e;
    }
    throw std::logic_error("nothing thrown");
}

} // namespace

TEST(DescriptionOf, PrefersTheDescription)
{
    WordyFailure failure;
    failure << Vantor::ErrorDescription("Cannot read TOC.");
    EXPECT_EQ(Vantor::DescriptionOf(failure), "Cannot read TOC.");
}

TEST(DescriptionOf, FallsBackToWhatThenToUnknown)
{
    EXPECT_EQ(Vantor::DescriptionOf(WordyFailure()), "device went away");
    EXPECT_EQ(Vantor::DescriptionOf(Vantor::Exception()), "std::exception");
    EXPECT_EQ(Vantor::DescriptionOf(SilentFailure()), "Unknown");
}

TEST(ThrowTranslated, KeepsOnlyTheDescription)
{
    Vantor::Exception original;
    original << Vantor::ErrorDescription("Cannot open cueify device /dev/sr0.")
             << Vantor::ErrorFilename("/dev/sr0") << Vantor::ErrorCallStack("old stack");

    const Vantor::Proc::CDReaderException translated = Translated(original);

    const std::string* description = boost::get_error_info<Vantor::ErrorDescription>(translated);
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(*description, "Cannot open cueify device /dev/sr0.");
    EXPECT_EQ(boost::get_error_info<Vantor::ErrorFilename>(translated), nullptr);
    const std::string* stack = boost::get_error_info<Vantor::ErrorCallStack>(translated);
    ASSERT_NE(stack, nullptr);
    EXPECT_NE(*stack, "old stack");
    EXPECT_STREQ(*boost::get_error_info<boost::throw_function>(translated),
                 "void (anonymous namespace)::TranslateIntoCDReaderException(const Vantor::Exception &)");
}

TEST(ThrowTranslated, UsesWhatWhenThereIsNoDescription)
{
    const Vantor::Proc::CDReaderException translated = Translated(SilentFailure());
    EXPECT_EQ(*boost::get_error_info<Vantor::ErrorDescription>(translated), "Unknown");
}

TEST(GetCallStack, WritesOneFrameALine)
{
    const std::string stack = Vantor::GetCallStack();
    EXPECT_GE(std::count(stack.begin(), stack.end(), '\n'), 2) << stack;
    EXPECT_EQ(stack.back(), '\n');
}
