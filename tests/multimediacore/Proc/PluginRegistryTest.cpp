#include "Vantor/Proc/PluginRegistry.h"

#include "Vantor/Core/Interfaces/Throw.h"

#include <gtest/gtest.h>

#include <string>

using Vantor::ioPath;
using Vantor::Proc::PluginRegistry;

namespace {

template <class Expected = Vantor::Exception, class Call> std::string FailureOf(Call call)
{
    try {
        call();
    } catch (const Expected& e) {
        return Vantor::DescriptionOf(e);
    }
    return "no failure";
}

} // namespace

TEST(PluginRegistry, LoadsAModuleAndKeepsWhatItRegisters)
{
    PluginRegistry registry;
    registry.LoadModule(ioPath(TEST_PLUGIN_PATH));
    ASSERT_EQ(registry.GetAllParserCreators().size(), 1u);
    EXPECT_EQ(registry.GetParserCreators("cda"), registry.GetAllParserCreators());
    EXPECT_EQ(registry.GetAllParserCreators().front()->GetImplName(), "test-module");
    EXPECT_TRUE(registry.GetParserCreators("wav").empty());
    EXPECT_EQ(registry.CreateCDReader(ioPath("/dev/sr0"))->GetTrackPath(7).utf8string(),
              "cdda:///dev/sr0#track7.cda");
}

// The module is loaded with RTLD_LOCAL: only the host libraries' exported type information lets
// the host catch the module's exception by its class.
TEST(PluginRegistry, ExceptionFromAModuleIsCaughtByItsClass)
{
    PluginRegistry registry;
    registry.LoadModule(ioPath(TEST_PLUGIN_PATH));
    const auto input = Vantor::Core::DataInputPath::Create(ioPath("a.cda"));
    EXPECT_EQ(FailureOf<Vantor::Proc::ParserException>(
                  [&] { registry.GetAllParserCreators().front()->Create(input, {}, nullptr); }),
              "The test module opens nothing.");
}

TEST(PluginRegistry, RefusesAModuleItCannotLoadAndKeepsNothing)
{
    const std::string missing = std::string(TEST_PLUGIN_PATH) + ".missing";
    const std::pair<std::string, std::string> cases[] = {
        {missing, "Cannot load plug-in module " + missing + ": " + missing +
                      ": cannot open shared object file: No such file or directory"},
        {NO_REGISTRATOR_MODULE_PATH,
         std::string("Plug-in module ") + NO_REGISTRATOR_MODULE_PATH + " has no Registrator"},
    };
    for (const auto& [modulePath, description] : cases) {
        const ioPath module(modulePath);
        PluginRegistry registry;
        EXPECT_EQ(FailureOf([&] { registry.LoadModule(module); }), description);
        EXPECT_TRUE(registry.GetAllParserCreators().empty());
        EXPECT_EQ(FailureOf([&] { registry.CreateCDReader(ioPath("/dev/sr0")); }),
                  "No CD reader creator is registered");
    }
}
