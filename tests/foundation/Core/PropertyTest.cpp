#include "Vantor/Core/Interfaces/Property.h"

#include <boost/exception/get_error_info.hpp>
#include <gtest/gtest.h>

#include <iterator>
#include <string>

using Vantor::Core::MethodIsNotApplicable;
using Vantor::Core::Property;
using Vantor::Core::PropertyException;

namespace {

struct Refusal
{
    std::string name;
    Vantor::PropertyTypes type;
    std::string method;
    std::string function;
    bool hasDescription;
};

template <class Call> Refusal RefusalOf(Call call)
{
    try {
        call();
    } catch (const MethodIsNotApplicable& e) {
        EXPECT_NE(boost::get_error_info<Vantor::ErrorCallStack>(e), nullptr);
        return {*boost::get_error_info<PropertyException::ErrorPropertyName>(e),
                *boost::get_error_info<PropertyException::ErrorPropertyType>(e),
                *boost::get_error_info<PropertyException::ErrorMethodName>(e),
                *boost::get_error_info<boost::throw_function>(e),
                boost::get_error_info<Vantor::ErrorDescription>(e) != nullptr};
    }
    ADD_FAILURE() << "MethodIsNotApplicable not thrown";
    return {};
}

} // namespace

TEST(Property, ConstructorsSetTheType)
{
    EXPECT_EQ(Property().GetType(), Vantor::PROPERTY_TYPE_NODE);
    EXPECT_EQ(Property("root").GetType(), Vantor::PROPERTY_TYPE_NODE);
    EXPECT_EQ(Property("n", 5LL).GetInteger(), 5);
    EXPECT_EQ(Property("s", std::string("text")).GetString(), "text");
    EXPECT_EQ(Property("c", "literal").GetType(), Vantor::PROPERTY_TYPE_STRING);
    EXPECT_TRUE(Property("b", true).GetBool());
}

TEST(Property, GetterOfAnotherTypeIsNotApplicable)
{
    const Property leaf("rate", 44100LL);
    const Refusal refusal = RefusalOf([&] { leaf.GetString(); });
    EXPECT_EQ(refusal.name, "rate");
    EXPECT_EQ(refusal.type, Vantor::PROPERTY_TYPE_INTEGER);
    EXPECT_EQ(refusal.method, "GetString");
}

TEST(Property, AssignmentChangesValueAndTypeKeepsName)
{
    Property child("tag", 1LL);
    child = "now text";
    EXPECT_EQ(child.GetName(), "tag");
    EXPECT_EQ(child.GetString(), "now text");
    child = false;
    EXPECT_EQ(child.GetType(), Vantor::PROPERTY_TYPE_BOOL);
}

TEST(Property, SetChildTReplacesAnExistingChildInPlace)
{
    Property root;
    root.SetChildT<long long>("first", 1);
    root.SetChildT<std::string>("second", "a");
    root.SetChildT<long long>("first", 2);

    ASSERT_EQ(root.GetChildren().size(), 2u);
    EXPECT_EQ(root.GetChildren().front().GetName(), "first");
    EXPECT_EQ(root.GetChildren().front().GetInteger(), 2);
}

TEST(Property, SetChildTAppendsAMissingChildLast)
{
    Property root;
    root.SetChildT<bool>("first", true);
    Property& added = root.SetChildT<std::string>("second", "b");

    ASSERT_EQ(root.GetChildren().size(), 2u);
    EXPECT_EQ(&added, &root.GetChildren().back());
    EXPECT_EQ(root.GetChildren().back().GetString(), "b");
}

TEST(Property, CreateChildTAppendsDuplicates)
{
    Property root("root");
    root.CreateChildT<long long>("same", 1);
    root.CreateChildT<long long>("same", 2);

    ASSERT_EQ(root.GetChildren().size(), 2u);
    EXPECT_EQ(root.FindChild("same")->GetInteger(), 1);
    EXPECT_EQ(std::next(root.GetChildren().begin())->GetInteger(), 2);
}

TEST(Property, FindChildGivesEndForAMissingName)
{
    const Property root;
    EXPECT_EQ(root.FindChild("absent"), root.GetChildren().end());
}

TEST(Property, CopyIsDeep)
{
    Property root;
    root.SetChildT<long long>("stream_id", 7);
    Property copy(root);
    copy.SetChildT<long long>("stream_id", 0);
    EXPECT_EQ(root.FindChild("stream_id")->GetInteger(), 7);
    EXPECT_EQ(copy.FindChild("stream_id")->GetInteger(), 0);
}

TEST(Property, ChildSettersOnALeafAreNotApplicable)
{
    Property leaf("title", std::string("x"));
    const Refusal set = RefusalOf([&] { leaf.SetChildT<long long>("n", 1); });
    EXPECT_EQ(set.name, "title");
    EXPECT_EQ(set.type, Vantor::PROPERTY_TYPE_STRING);
    EXPECT_EQ(set.method, "SetChildT");
    EXPECT_FALSE(set.hasDescription);
    EXPECT_EQ(set.function, "Vantor::Core::Property &Vantor::Core::Property::SetChildT(const std::string &, "
                            "const T &) [T = long long]");

    Property flag("flag", true);
    const Refusal create = RefusalOf([&] { flag.CreateChildT<bool>("b", false); });
    EXPECT_EQ(create.name, "flag");
    EXPECT_EQ(create.type, Vantor::PROPERTY_TYPE_BOOL);
    EXPECT_EQ(create.method, "CreateChildT");
    EXPECT_EQ(create.function,
              "Vantor::Core::Property &Vantor::Core::Property::CreateChildT(const std::string "
              "&, const T &) [T = bool]");
    EXPECT_TRUE(leaf.GetChildren().empty());
    EXPECT_TRUE(flag.GetChildren().empty());
}

TEST(Property, StringSetterNamesItsInstanceInTheThrowLocation)
{
    Property leaf("rate", 1LL);
    const Refusal refusal = RefusalOf([&] { leaf.CreateChildT<std::string>("s", "v"); });
    EXPECT_EQ(refusal.function,
              "Vantor::Core::Property &Vantor::Core::Property::CreateChildT(const std::string "
              "&, const T &) [T = std::basic_string<char>]");
}
