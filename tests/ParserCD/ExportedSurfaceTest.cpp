// What the built module shows a host: its symbol tables, as nm lists them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace {

// The module's defined symbols, demangled, with nm's type letter: the dynamic ones, which a host
// can reach, or all of them.
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
    return symbols;
}

TEST(ExportedSurface, HostReachesExactlyTheListedFunctions)
{
    const std::map<std::string, std::set<std::string>> expected = {
        {"", {"CreateParserCD", "CueifyError2String", "OpenDevice", "ReadToc", "Msf2Sec"}},
        {"Vantor::Proc::CDReader",
         {"Create", "CDReader", "Open", "~CDReader", "GetDiskDuration", "GetTrackCount", "GetTrackDuration",
          "GetTrackPath", "IsCDPath"}},
        {"Vantor::Proc::ParserCD",
         {"Create", "ParserCD", "Open", "~ParserCD", "GetSize", "GetStatistic", "GetFormatFile",
          "GetStreamExtInfo", "Seek", "Read", "CreateFormatCodec", "CreateFormatFile", "TrackException"}},
        {"ParserCreator", {}}};
    std::map<std::string, std::set<std::string>> exported = {{"", {}}, {"ParserCreator", {}}};
    const std::map<std::string, char> symbols = Symbols(true);
    ASSERT_FALSE(symbols.empty()) << "nm lists nothing for " PARSERCD_MODULE_PATH;
    for (const auto& [symbol, type] : symbols) {
        const size_t arguments = symbol.find('(');
        const size_t split = symbol.rfind("::", arguments);
        const size_t start = split == std::string::npos ? 0 : split + 2;
        const std::string scope = symbol.substr(0, start == 0 ? 0 : split);
        const std::string name = symbol.substr(start, symbol.find_first_of("[(", start) - start);
        // Plain functions only: no C function of the linker's (no arguments), no template instance.
        if ((type == 'T' || type == 'W') && arguments != std::string::npos && expected.count(scope) &&
            name.find_first_of(" <") == std::string::npos)
            exported[scope].insert(name);
    }
    EXPECT_EQ(exported, expected);
    EXPECT_EQ(symbols.count("Registrator") ? symbols.at("Registrator") : '-', 'T')
        << "Registrator under its plain name";
}

// A host catches and casts by the one type information its own libraries define; a private copy
// inside the module would make that fail silently.
TEST(ExportedSurface, TypeInformationIsSharedWithTheHostAndPrivateHelpersLeaveNoTrace)
{
    const std::map<std::string, char> exported = Symbols(true);
    for (const char* name : {"ParserCreator", "Vantor::Proc::CDReader", "Vantor::Proc::ParserCD"})
        EXPECT_TRUE(exported.count(std::string("typeinfo for ") + name)) << name;
    for (const auto& [symbol, type] : exported)
        for (const char* helper : {"CDAFile", "GetPlatformCDDrivePath", "ReadDatamode"})
            EXPECT_EQ(symbol.find(helper), std::string::npos) << symbol;
    const std::map<std::string, char> all = Symbols(false);
    for (const char* name :
         {"IRefCountable", "Proc::IImplInfo", "Proc::IParserCreator", "Proc::IParser", "Proc::ICDReader",
          "Exception", "Proc::ProcException", "Proc::CDReaderException", "Proc::ParserException",
          "Core::CoreException", "Core::PropertyException", "Core::MethodIsNotApplicable"})
        if (all.count(std::string("typeinfo for Vantor::") + name))
            EXPECT_TRUE(exported.count(std::string("typeinfo for Vantor::") + name))
                << "private copy of " << name;
}

} // namespace
