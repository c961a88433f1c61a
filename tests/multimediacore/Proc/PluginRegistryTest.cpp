#include "Vantor/Proc/PluginRegistry.h"

#include "Vantor/Core/Interfaces/Throw.h"

#include <gtest/gtest.h>

#include <string>

using Vantor::ioPath;
using Vantor::Proc::PluginRegistry;

namespace {

std::string LoadFailure(const ioPath& module)
{
    PluginRegistry registry;
    try {
        registry.LoadModule(module);
    } catch (const Vantor::Exception& e) {
        EXPECT_TRUE(registry.GetAllParserCreators().empty());
        return Vantor::DescriptionOf(e);
    }
    return "loaded";
}

} // namespace

TEST(PluginRegistry, LoadsAModuleAndKeepsWhatItRegisters)
{
    PluginRegistry registry;
    registry.LoadModule(ioPath(TEST_PLUGIN_PATH));

    ASSERT_EQ(registry.GetAllParserCreators().size(), 1u);
    const auto creators = registry.GetParserCreators("cda");
    ASSERT_EQ(creators.size(), 1u);
    EXPECT_EQ(creators.front()->GetImplName(), "test-module");
    EXPECT_FALSE(creators.front()->GetFlag());
    EXPECT_TRUE(registry.GetParserCreators("wav").empty());

    const Vantor::SP<Vantor::Proc::ICDReader> reader = registry.CreateCDReader(ioPath("/dev/sr0"));
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->GetTrackPath(7).utf8string(), "cdda:///dev/sr0#track7.cda");
}

// The module is loaded with RTLD_LOCAL: only the host libraries' exported type information lets
// the host catch the module's exception by its class.
TEST(PluginRegistry, ExceptionFromAModuleIsCaughtByItsClass)
{
    PluginRegistry registry;
    registry.LoadModule(ioPath(TEST_PLUGIN_PATH));
    const Vantor::SP<Vantor::Proc::IParserCreator> creator = registry.GetParserCreators("cda").front();
    try {
        creator->Create(Vantor::Core::DataInputPath::Create(ioPath("a.cda")), {}, nullptr);
        FAIL() << "nothing thrown";
    } catch (const Vantor::Proc::ParserException& e) {
        EXPECT_EQ(Vantor::DescriptionOf(e), "The test module opens nothing.");
    }
}

TEST(PluginRegistry, KeepsFactoriesInRegistrationOrder)
{
    PluginRegistry registry;
    registry.LoadModule(ioPath(TEST_PLUGIN_PATH));
    registry.LoadModule(ioPath(TEST_PLUGIN_PATH));
    const auto all = registry.GetAllParserCreators();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(registry.GetParserCreators("cda"), all);
}

TEST(PluginRegistry, MissingModuleIsRefusedWithTheLoaderReason)
{
    const std::string path = std::string(TEST_PLUGIN_PATH) + ".missing";
    EXPECT_EQ(LoadFailure(ioPath(path)), "Cannot load plug-in module " + path + ": " + path +
                                             ": cannot open shared object file: No such file or directory");
}

TEST(PluginRegistry, ModuleWithoutRegistratorIsRefused)
{
    EXPECT_EQ(LoadFailure(ioPath(NO_REGISTRATOR_MODULE_PATH)),
              std::string("Plug-in module ") + NO_REGISTRATOR_MODULE_PATH + " has no Registrator");
}

TEST(PluginRegistry, CreatingAReaderWithoutACreatorThrows)
{
    PluginRegistry registry;
    EXPECT_EQ(registry.GetCDReaderCreator(), nullptr);
    try {
        registry.CreateCDReader(ioPath("/dev/sr0"));
        FAIL() << "nothing thrown";
    } catch (const Vantor::Exception& e) {
        EXPECT_EQ(Vantor::DescriptionOf(e), "No CD reader creator is registered");
    }
}
