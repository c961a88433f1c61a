// What the built module shows a host: its dynamic symbol table, as nm lists it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

// The module's defined symbols (dynamic only, or all), demangled, with nm's type letter.
std::map<std::string, char> Symbols(bool dynamicOnly)
{
    const std::string command = std::string("nm --defined-only --demangle ") +
                                (dynamicOnly ? "--dynamic " : "") + "'" PARSERCD_MODULE_PATH "' 2>/dev/null";
    const std::unique_ptr<FILE, int (*)(FILE*)> output(popen(command.c_str(), "r"), pclose);
    std::map<std::string, char> symbols;
    char line[16384];
    while (output && fgets(line, sizeof line, output.get()) != nullptr) {
        const std::string text(line, std::strcspn(line, "\n"));
        if (text.size() > 19) // 16 digits of address, the type letter, the name
            symbols[text.substr(19)] = text[17];
    }
    EXPECT_FALSE(symbols.empty()) << "nm lists nothing for " PARSERCD_MODULE_PATH;
    return symbols;
}

// The host finds the plain C name Registrator; the classes whose exceptions and objects cross the
// module boundary keep their type information; the helpers behind them stay inside.
TEST(ExportedSurface, HostReachesRegistratorAndThePlugInClassesButNoHelper)
{
    const std::map<std::string, char> symbols = Symbols(true);
    EXPECT_EQ(symbols.count("Registrator") ? symbols.at("Registrator") : '-', 'T')
        << "Registrator, a plain name";
    for (const char* name : {"ParserCreator", "Vantor::Proc::CDReader", "Vantor::Proc::ParserCD"})
        EXPECT_TRUE(symbols.count(std::string("typeinfo for ") + name)) << name;
    for (const auto& entry : symbols)
        for (const char* hidden : {"CDAFile", "GetPlatformCDDrivePath", "ReadDatamode", "FindDriveWithSerial",
                                   "ReadTrackPath", "FindPlatformDrive"})
            EXPECT_EQ(entry.first.find(hidden), std::string::npos) << entry.first;
}

// Loading the module runs no code of ours: no translation unit has a static initialiser (the
// compiler names them "_GLOBAL__sub_I_<file>") in the module's .init_array.
TEST(ExportedSurface, LoadingRunsNoStaticInitialiserOfOurs)
{
    for (const auto& entry : Symbols(false))
        EXPECT_NE(entry.first.rfind("_GLOBAL__sub_I_", 0), 0u) << entry.first;
}

} // namespace
