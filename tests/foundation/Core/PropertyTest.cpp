#include "Vantor/Core/Interfaces/Property.h"

#include <boost/exception/get_error_info.hpp>
#include <gtest/gtest.h>

#include <string>

using Vantor::Core::Property;
using Vantor::Core::PropertyException;

namespace {

// Name, type, method and throw location of the refusal, and which of call stack and description it has.
std::string RefusalOf(Property leaf, void (*call)(Property&))
{
    try {
        call(leaf);
    } catch (const Vantor::Core::MethodIsNotApplicable& e) {
        EXPECT_TRUE(leaf.GetChildren().empty());
        return *boost::get_error_info<PropertyException::ErrorPropertyName>(e) + " " +
               std::to_string(*boost::get_error_info<PropertyException::ErrorPropertyType>(e)) + " " +
               *boost::get_error_info<PropertyException::ErrorMethodName>(e) + " " +
               *boost::get_error_info<boost::throw_function>(e) +
               (boost::get_error_info<Vantor::ErrorCallStack>(e) ? " +stack" : "") +
               (boost::get_error_info<Vantor::ErrorDescription>(e) ? " +description" : "");
    }
    return "nothing thrown";
}

} // namespace

TEST(Property, SetChildTReplacesOrAppendsWhileCreateChildTAlwaysAppends)
{
    Property root;
    root.SetChildT<long long>("a", 1);
    root.SetChildT<long long>("b", 2);
    root.SetChildT<long long>("a", 3);
    Property& appended = root.SetChildT<long long>("c", 4);
    root.CreateChildT<long long>("c", 5);
    std::string children;
    for (const Property& child : root.GetChildren())
        children += child.GetName() + "=" + std::to_string(child.GetInteger()) + " ";
    EXPECT_EQ(children, "a=3 b=2 c=4 c=5 ");
    EXPECT_EQ(&appended, &*std::next(root.GetChildren().begin(), 2));
}

TEST(Property, ChildSettersOnALeafAndAGetterOfAnotherTypeThrowMethodIsNotApplicable)
{
    const std::string in = "Vantor::Core::Property &Vantor::Core::Property::";
    const std::string args = "(const std::string &, const T &) [T = ";
    EXPECT_EQ(RefusalOf(Property("title", "x"), [](Property& p) { p.SetChildT<long long>("n", 1); }),
              "title 3 SetChildT " + in + "SetChildT" + args + "long long] +stack");
    EXPECT_EQ(RefusalOf(Property("flag", true), [](Property& p) { p.CreateChildT<bool>("b", false); }),
              "flag 4 CreateChildT " + in + "CreateChildT" + args + "bool] +stack");
    EXPECT_EQ(RefusalOf(Property("rate", 1LL), [](Property& p) { p.CreateChildT<std::string>("s", "v"); }),
              "rate 1 CreateChildT " + in + "CreateChildT" + args + "std::basic_string<char>] +stack");
    EXPECT_EQ(
        RefusalOf(Property("rate", 1LL), [](Property& p) { static_cast<void>(p.GetBool()); }).substr(0, 15),
        "rate 1 GetBool ");
    EXPECT_EQ(RefusalOf(Property("flag") = true, [](Property& p) { static_cast<void>(p.GetString()); })
                  .substr(0, 17),
              "flag 4 GetString ");
}
