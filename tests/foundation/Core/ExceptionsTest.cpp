// The exception model: the class hierarchy, the tags and their diagnostic lines, the throw facility.
#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Core/Interfaces/Throw.h"

#include <boost/exception/diagnostic_information.hpp>
#include <boost/exception/get_error_info.hpp>
#include <gtest/gtest.h>

#include <string>

using namespace Vantor::Core;
using namespace Vantor::Proc;

namespace {

template <class Thrown, class Handler> std::string NameIfCaughtAs(const char* name)
{
    try {
        VANTOR_THROW(Thrown, );
    } catch (const Handler&) {
        return std::string(" ") + name;
    } catch (...) {
    }
    return "";
}

// The handlers that catch Thrown, tried one at a time from every class of the hierarchy.
template <class Thrown> std::string CatchingHandlers()
{
    return NameIfCaughtAs<Thrown, std::exception>("std") + NameIfCaughtAs<Thrown, boost::exception>("boost") +
           NameIfCaughtAs<Thrown, Vantor::Exception>("Exception") +
           NameIfCaughtAs<Thrown, ProcException>("Proc") +
           NameIfCaughtAs<Thrown, CDReaderException>("CDReader") +
           NameIfCaughtAs<Thrown, ParserException>("Parser") + NameIfCaughtAs<Thrown, CoreException>("Core") +
           NameIfCaughtAs<Thrown, PropertyException>("Property") +
           NameIfCaughtAs<Thrown, MethodIsNotApplicable>("MethodIsNotApplicable");
}

// Kept out of line, so that a release build still has its frame in the call stack.
[[gnu::noinline]] void ThrowTaggedFailure()
{
    VANTOR_THROW(ParserException, << ErrorTranscodingCode(TRANSCODING_ERROR_OPEN_INPUT)
                                  << Vantor::ErrorDescription("Cannot seek.") << ErrorStreamIndex(0xFFFFFFFFu)
                                  << Vantor::ErrorFilename("/music/Track 01.cda")
                                  << PropertyException::ErrorPropertyName("title")
                                  << PropertyException::ErrorPropertyType(Vantor::PROPERTY_TYPE_STRING)
                                  << PropertyException::ErrorMethodName("SetChildT"));
}

struct SilentFailure : Vantor::Exception
{
    const char* what() const noexcept override { return nullptr; }
};

} // namespace

TEST(Exceptions, EachClassIsCaughtByItsBasesAndNotBySiblings)
{
    EXPECT_EQ(CatchingHandlers<Vantor::Exception>(), " std boost Exception");
    EXPECT_EQ(CatchingHandlers<ProcException>(), " std boost Exception Proc");
    EXPECT_EQ(CatchingHandlers<CDReaderException>(), " std boost Exception Proc CDReader");
    EXPECT_EQ(CatchingHandlers<ParserException>(), " std boost Exception Proc Parser");
    EXPECT_EQ(CatchingHandlers<CoreException>(), " std boost Exception Core");
    EXPECT_EQ(CatchingHandlers<PropertyException>(), " std boost Exception Core Property");
    EXPECT_EQ(CatchingHandlers<MethodIsNotApplicable>(),
              " std boost Exception Core Property MethodIsNotApplicable");
}

TEST(Exceptions, DiagnosticShowsThrowLocationAndEachTagOnALine)
{
    try {
        ThrowTaggedFailure();
        FAIL() << "nothing thrown";
    } catch (const Vantor::Exception& e) {
        EXPECT_STREQ(e.what(), "std::exception");
        const std::string text = boost::diagnostic_information(e);
        const std::string* stack = boost::get_error_info<Vantor::ErrorCallStack>(e);
        ASSERT_TRUE(stack);
        for (const std::string& line : std::initializer_list<std::string>{
                 "[Vantor::TagCallStack*] = " + *stack + "\n",
                 "[Vantor::TagFilename*] = /music/Track 01.cda\n",
                 "[Vantor::Core::PropertyException::TagPropertyName*] = title\n",
                 "[Vantor::Core::PropertyException::TagMethodName*] = SetChildT\n", "ExceptionsTest.cpp(",
                 "): Throw in function void (anonymous namespace)::ThrowTaggedFailure()\n",
                 "[Vantor::Proc::TagTranscodingErrorCode*] = 37\n",
                 "[Vantor::TagDescription*] = Cannot seek.\n",
                 "[Vantor::Proc::TagStreamIndex*] = 4294967295\n",
                 "[Vantor::Core::PropertyException::TagPropertyType*] = 3\n"})
            EXPECT_NE(text.find(line), std::string::npos) << line << " not in\n" << text;
        EXPECT_NE(stack->find("ThrowTaggedFailure"), std::string::npos);
    }
}

// The description, else what(), the CD plug-in's translation sites show.
TEST(DescriptionOf, IsUnknownWithoutDescriptionOrWhat)
{
    EXPECT_EQ(Vantor::DescriptionOf(SilentFailure()), "Unknown");
}
