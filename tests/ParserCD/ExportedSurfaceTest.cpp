// What the built module shows a host: its dynamic symbol table, as nm lists it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
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

TEST(ExportedSurface, HostReachesTheListedFunctionsAndClassesOnly)
{
    const std::map<std::string, char> symbols = Symbols(true);
    std::set<std::string> functions; // of the global scope and the plug-in's classes, by name
    for (const auto& [symbol, type] : symbols) {
        const std::string name = symbol.substr(0, symbol.find_first_of("[("));
        bool ours = name.find("::") == std::string::npos;
        for (const char* scope : {"ParserCreator::", "Vantor::Proc::CDReader::", "Vantor::Proc::ParserCD::"})
            ours = ours || name.rfind(scope, 0) == 0;
        // Functions only, and no template instance or C function of the linker's (no argument list).
        if ((type == 'T' || type == 'W') && ours && symbol.find('(') != std::string::npos &&
            name.find_first_of(" <") == std::string::npos)
            functions.insert(name);
        for (const char* hidden : {"CDAFile", "GetPlatformCDDrivePath", "ReadDatamode"})
            EXPECT_EQ(symbol.find(hidden), std::string::npos) << symbol;
    }
    std::set<std::string> expected = {"CreateParserCD", "CueifyError2String", "Msf2Sec", "OpenDevice",
                                      "ReadToc"};
    for (const char* member : {"Create", "CDReader", "Open", "~CDReader", "GetDiskDuration", "GetTrackCount",
                               "GetTrackDuration", "GetTrackPath", "IsCDPath"})
        expected.insert(std::string("Vantor::Proc::CDReader::") + member);
    for (const char* member :
         {"Create", "ParserCD", "Open", "~ParserCD", "GetSize", "GetStatistic", "GetFormatFile",
          "GetStreamExtInfo", "Seek", "Read", "CreateFormatCodec", "CreateFormatFile", "TrackException"})
        expected.insert(std::string("Vantor::Proc::ParserCD::") + member);
    EXPECT_EQ(functions, expected);
    EXPECT_EQ(symbols.count("Registrator") ? symbols.at("Registrator") : '-', 'T')
        << "Registrator, a plain name";
    for (const char* name : {"ParserCreator", "Vantor::Proc::CDReader", "Vantor::Proc::ParserCD"})
        EXPECT_TRUE(symbols.count(std::string("typeinfo for ") + name)) << name;
}

// Loading the module runs no code of ours: no translation unit has a static initialiser (the
// compiler names them "_GLOBAL__sub_I_<file>") in the module's .init_array.
TEST(ExportedSurface, LoadingRunsNoStaticInitialiserOfOurs)
{
    for (const auto& entry : Symbols(false))
        EXPECT_NE(entry.first.rfind("_GLOBAL__sub_I_", 0), 0u) << entry.first;
}

} // namespace
