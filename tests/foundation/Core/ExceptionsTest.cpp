#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Core/Interfaces/Throw.h"

#include <boost/exception/diagnostic_information.hpp>
#include <boost/exception/get_error_info.hpp>
#include <gtest/gtest.h>

#include <string>

using Vantor::Core::CoreException;
using Vantor::Core::MethodIsNotApplicable;
using Vantor::Core::PropertyException;
using Vantor::Proc::CDReaderException;
using Vantor::Proc::ParserException;
using Vantor::Proc::ProcException;

namespace {

// Which of the handlers, tried in this order, catches what body throws.
template <class Body> std::string CatchingHandler(Body body)
{
    try {
        body();
    } catch (const ParserException&) {
        return "ParserException";
    } catch (const CDReaderException&) {
        return "CDReaderException";
    } catch (const MethodIsNotApplicable&) {
        return "MethodIsNotApplicable";
    } catch (const PropertyException&) {
        return "PropertyException";
    } catch (const CoreException&) {
        return "CoreException";
    } catch (const ProcException&) {
        return "ProcException";
    } catch (const Vantor::Exception&) {
        return "Exception";
    }
    return "none";
}

template <class Thrown, class Handler> bool IsCaughtAs()
{
    try {
        VANTOR_THROW(Thrown, << Vantor::ErrorDescription("x"));
    } catch (const Handler&) {
        return true;
    } catch (...) {
        return false;
    }
}

void ThrowSeekFailure()
{
    VANTOR_THROW(Vantor::Exception, << Vantor::ErrorDescription("Cannot seek.")
                                    << Vantor::ErrorFilename("/tmp/a.cda")
                                    << Vantor::Proc::ErrorStreamIndex(0xFFFFFFFFu));
}

} // namespace

TEST(Exceptions, CDReaderExceptionIsCaughtByEveryBaseHandler)
{
    EXPECT_TRUE((IsCaughtAs<CDReaderException, ProcException>()));
    EXPECT_TRUE((IsCaughtAs<CDReaderException, Vantor::Exception>()));
    EXPECT_TRUE((IsCaughtAs<CDReaderException, std::exception>()));
    EXPECT_TRUE((IsCaughtAs<CDReaderException, boost::exception>()));
    EXPECT_FALSE((IsCaughtAs<CDReaderException, ParserException>()));
    EXPECT_FALSE((IsCaughtAs<CDReaderException, CoreException>()));
}

TEST(Exceptions, MethodIsNotApplicableIsCaughtAsPropertyAndCoreException)
{
    EXPECT_TRUE((IsCaughtAs<MethodIsNotApplicable, PropertyException>()));
    EXPECT_TRUE((IsCaughtAs<MethodIsNotApplicable, CoreException>()));
    EXPECT_TRUE((IsCaughtAs<MethodIsNotApplicable, Vantor::Exception>()));
    EXPECT_TRUE((IsCaughtAs<MethodIsNotApplicable, std::exception>()));
    EXPECT_FALSE((IsCaughtAs<MethodIsNotApplicable, ProcException>()));
}

TEST(Exceptions, EachClassReachesItsOwnHandlerFirst)
{
    EXPECT_EQ(CatchingHandler([] { VANTOR_THROW(ParserException, ); }), "ParserException");
    EXPECT_EQ(CatchingHandler([] { VANTOR_THROW(CDReaderException, ); }), "CDReaderException");
    EXPECT_EQ(CatchingHandler([] { VANTOR_THROW(ProcException, ); }), "ProcException");
    EXPECT_EQ(CatchingHandler([] { VANTOR_THROW(MethodIsNotApplicable, ); }), "MethodIsNotApplicable");
    EXPECT_EQ(CatchingHandler([] { VANTOR_THROW(PropertyException, ); }), "PropertyException");
    EXPECT_EQ(CatchingHandler([] { VANTOR_THROW(CoreException, ); }), "CoreException");
    EXPECT_EQ(CatchingHandler([] { VANTOR_THROW(Vantor::Exception, ); }), "Exception");
}

TEST(Exceptions, WhatIsTheStandardDefaultTextNotTheDescription)
{
    try {
        VANTOR_THROW(ParserException, << Vantor::ErrorDescription("Unsupported extension."));
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "std::exception");
    }
}

TEST(Exceptions, DiagnosticShowsEachTagByItsTypeName)
{
    try {
        ThrowSeekFailure();
        FAIL() << "nothing thrown";
    } catch (const Vantor::Exception& e) {
        const std::string text = boost::diagnostic_information(e);
        EXPECT_NE(text.find("[Vantor::TagDescription*] = Cannot seek.\n"), std::string::npos) << text;
        EXPECT_NE(text.find("[Vantor::TagFilename*] = /tmp/a.cda\n"), std::string::npos) << text;
        EXPECT_NE(text.find("[Vantor::Proc::TagStreamIndex*] = 4294967295\n"), std::string::npos) << text;
        EXPECT_NE(text.find("[Vantor::TagCallStack*] = "), std::string::npos) << text;
    }
}

TEST(Exceptions, DiagnosticShowsTranscodingCodeAndPropertyTypeAsNumbers)
{
    try {
        VANTOR_THROW(ParserException,
                     << Vantor::Proc::ErrorTranscodingCode(Vantor::Proc::TRANSCODING_ERROR_OPEN_INPUT)
                     << PropertyException::ErrorPropertyType(Vantor::PROPERTY_TYPE_STRING)
                     << PropertyException::ErrorPropertyName("title")
                     << PropertyException::ErrorMethodName("SetChildT"));
    } catch (const boost::exception& e) {
        const std::string text = boost::diagnostic_information(e);
        EXPECT_NE(text.find("[Vantor::Proc::TagTranscodingErrorCode*] = 37\n"), std::string::npos) << text;
        EXPECT_NE(text.find("[Vantor::Core::PropertyException::TagPropertyType*] = 3\n"), std::string::npos)
            << text;
        EXPECT_NE(text.find("[Vantor::Core::PropertyException::TagPropertyName*] = title\n"),
                  std::string::npos);
        EXPECT_NE(text.find("[Vantor::Core::PropertyException::TagMethodName*] = SetChildT\n"),
                  std::string::npos);
    }
}

TEST(Exceptions, ThrowRecordsCallStackAndLocation)
{
    try {
        ThrowSeekFailure();
        FAIL() << "nothing thrown";
    } catch (const Vantor::Exception& e) {
        const char* const* function = boost::get_error_info<boost::throw_function>(e);
        const char* const* file = boost::get_error_info<boost::throw_file>(e);
        const std::string* stack = boost::get_error_info<Vantor::ErrorCallStack>(e);
        ASSERT_NE(function, nullptr);
        ASSERT_NE(file, nullptr);
        ASSERT_NE(stack, nullptr);
        EXPECT_STREQ(*function, "void (anonymous namespace)::ThrowSeekFailure()");
        EXPECT_NE(std::string(*file).find("ExceptionsTest.cpp"), std::string::npos);
        EXPECT_GT(*boost::get_error_info<boost::throw_line>(e), 0);
        EXPECT_NE(stack->find("ThrowSeekFailure"), std::string::npos) << *stack;
    }
}
