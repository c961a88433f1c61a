#include "Vantor/Proc/PluginRegistry.h"

#include "Vantor/Conf/IFormatFile.h"
#include "Vantor/Core/Interfaces/Throw.h"

#include <gtest/gtest.h>

#include <string>

using Vantor::ioPath;
using Vantor::Proc::PluginRegistry;

namespace {

// The description of the Vantor::Exception that call throws.
template <class Call> std::string FailureOf(Call call)
{
    try {
        call();
    } catch (const Vantor::Exception& e) {
        return Vantor::DescriptionOf(e);
    }
    return "no failure";
}

} // namespace

// The plug-in module registers one parser factory per name of the host's CD format list ("cda"),
// found by that name alone. That the host catches the module's exceptions by their classes,
// although the module is loaded with RTLD_LOCAL, the host tests of the plug-in show.
TEST(PluginRegistry, LoadsAModuleAndKeepsWhatItRegisters)
{
    PluginRegistry registry;
    registry.LoadModule(ioPath(PARSERCD_MODULE_PATH));
    ASSERT_EQ(registry.GetAllParserCreators().size(), 1u);
    EXPECT_EQ(registry.GetParserCreators("cda"), registry.GetAllParserCreators());
    EXPECT_TRUE(registry.GetParserCreators(Vantor::Conf::IFormatFile::PARSER_LIBCUEIFY_IMPL).empty());
}

TEST(PluginRegistry, RefusesAModuleItCannotLoadAndKeepsNothing)
{
    const std::string missing = std::string(PARSERCD_MODULE_PATH) + ".missing";
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
