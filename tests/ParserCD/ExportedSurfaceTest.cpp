// What the built module shows a host: its dynamic symbol table, read straight from the ELF file.
#include <cxxabi.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Symbol
{
    std::string name; // as stored, mangled
    std::string demangled;
    bool defined = false;
    bool visible = false; // global or weak with default visibility: what a host can reach
    unsigned char type = STT_NOTYPE;
};

std::string Demangle(const std::string& name)
{
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> text(
        abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status), std::free);
    return status == 0 && text ? std::string(text.get()) : name;
}

// The symbol tables of a 64-bit little-endian ELF file.
class ElfSymbols
{
public:
    explicit ElfSymbols(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const auto* header = At<Elf64_Ehdr>(0);
        if (std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 || header->e_ident[EI_CLASS] != ELFCLASS64 ||
            header->e_shentsize != sizeof(Elf64_Shdr))
            throw std::runtime_error(path + " is not a 64-bit ELF file");
        for (Elf64_Half index = 0; index < header->e_shnum; ++index)
            m_sections.push_back(*At<Elf64_Shdr>(header->e_shoff + index * sizeof(Elf64_Shdr)));
    }

    bool HasTable(Elf64_Word sectionType) const
    {
        return std::any_of(m_sections.begin(), m_sections.end(),
                           [&](const Elf64_Shdr& section) { return section.sh_type == sectionType; });
    }

    std::vector<Symbol> All(Elf64_Word sectionType) const
    {
        std::vector<Symbol> symbols;
        for (const Elf64_Shdr& section : m_sections)
            if (section.sh_type == sectionType)
                Append(section, symbols);
        return symbols;
    }

    // Local and hidden symbols are left out: a host can never reach them.
    std::vector<Symbol> Visible(Elf64_Word sectionType) const
    {
        std::vector<Symbol> symbols = All(sectionType);
        symbols.erase(
            std::remove_if(symbols.begin(), symbols.end(), [](const Symbol& s) { return !s.visible; }),
            symbols.end());
        return symbols;
    }

private:
    template <class T> const T* At(uint64_t offset) const
    {
        if (offset > m_bytes.size() || m_bytes.size() - offset < sizeof(T))
            throw std::runtime_error("ELF structure past the end of the file");
        return reinterpret_cast<const T*>(m_bytes.data() + offset);
    }

    std::string StringAt(const Elf64_Shdr& strings, Elf64_Word offset) const
    {
        if (offset >= strings.sh_size)
            throw std::runtime_error("symbol name outside its string table");
        const char* start = At<char>(strings.sh_offset + offset);
        return std::string(start, strnlen(start, strings.sh_size - offset));
    }

    void Append(const Elf64_Shdr& table, std::vector<Symbol>& symbols) const
    {
        const Elf64_Shdr& strings = m_sections.at(table.sh_link);
        for (uint64_t offset = 0; offset + sizeof(Elf64_Sym) <= table.sh_size; offset += sizeof(Elf64_Sym)) {
            const auto* entry = At<Elf64_Sym>(table.sh_offset + offset);
            if (entry->st_name == 0)
                continue;
            const unsigned char binding = ELF64_ST_BIND(entry->st_info);
            const bool global = binding == STB_GLOBAL || binding == STB_WEAK || binding == STB_GNU_UNIQUE;
            Symbol symbol;
            symbol.visible = global && ELF64_ST_VISIBILITY(entry->st_other) == STV_DEFAULT;
            symbol.name = StringAt(strings, entry->st_name);
            symbol.demangled = Demangle(symbol.name);
            symbol.defined = entry->st_shndx != SHN_UNDEF;
            symbol.type = ELF64_ST_TYPE(entry->st_info);
            symbols.push_back(symbol);
        }
    }

    std::vector<char> m_bytes;
    std::vector<Elf64_Shdr> m_sections;
};

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The name of a function of the global namespace from its decorated name ("_Z" and the length of
// the name, then the name); empty for anything else.
std::string GlobalFunctionName(const std::string& mangled)
{
    if (!StartsWith(mangled, "_Z") || mangled.size() < 3 ||
        !std::isdigit(static_cast<unsigned char>(mangled[2])))
        return {};
    size_t digits = 2;
    size_t length = 0;
    while (digits < mangled.size() && std::isdigit(static_cast<unsigned char>(mangled[digits])))
        length = length * 10 + static_cast<size_t>(mangled[digits++] - '0');
    return mangled.substr(digits, length);
}

// The part of a demangled function name before its argument list.
std::string QualifiedName(const std::string& demangled)
{
    return demangled.substr(0, demangled.find('('));
}

const std::vector<std::string> EXPORTED_FREE_FUNCTIONS = {"CreateParserCD", "CueifyError2String",
                                                          "OpenDevice", "ReadToc", "Msf2Sec"};
const std::vector<std::string> EXPORTED_CDREADER_MEMBERS = {
    "Create",        "CDReader",         "Open",         "~CDReader", "GetDiskDuration",
    "GetTrackCount", "GetTrackDuration", "GetTrackPath", "IsCDPath"};
const std::vector<std::string> EXPORTED_PARSERCD_MEMBERS = {
    "Create",        "ParserCD",         "Open", "~ParserCD", "GetSize",           "GetStatistic",
    "GetFormatFile", "GetStreamExtInfo", "Seek", "Read",      "CreateFormatCodec", "CreateFormatFile",
    "TrackException"};
const std::vector<std::string> PLUGIN_CLASSES = {"ParserCreator", "Vantor::Proc::CDReader",
                                                 "Vantor::Proc::ParserCD"};
const std::vector<std::string> HOST_CLASSES = {
    "Vantor::IRefCountable",       "Vantor::Proc::IImplInfo",         "Vantor::Proc::IParserCreator",
    "Vantor::Proc::IParser",       "Vantor::Proc::ICDReader",         "Vantor::Exception",
    "Vantor::Proc::ProcException", "Vantor::Proc::CDReaderException", "Vantor::Proc::ParserException",
    "Vantor::Core::CoreException", "Vantor::Core::PropertyException", "Vantor::Core::MethodIsNotApplicable"};

class ExportedSurface : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_module = std::make_unique<ElfSymbols>(PARSERCD_MODULE_PATH); }
    static void TearDownTestSuite() { s_module.reset(); }

    static std::vector<Symbol> Exported()
    {
        std::vector<Symbol> symbols = s_module->Visible(SHT_DYNSYM);
        symbols.erase(
            std::remove_if(symbols.begin(), symbols.end(), [](const Symbol& s) { return !s.defined; }),
            symbols.end());
        return symbols;
    }

    static std::set<std::string> ExportedFunctionsIn(const std::string& scope)
    {
        std::set<std::string> names;
        for (const Symbol& symbol : Exported()) {
            const std::string name = QualifiedName(symbol.demangled);
            if (symbol.type == STT_FUNC && StartsWith(name, scope) &&
                name.find("::", scope.size()) == std::string::npos)
                names.insert(name.substr(scope.size()));
        }
        return names;
    }

    static bool IsExported(const std::string& demangled)
    {
        const std::vector<Symbol> symbols = Exported();
        return std::any_of(symbols.begin(), symbols.end(),
                           [&](const Symbol& s) { return s.demangled == demangled; });
    }

    static std::unique_ptr<ElfSymbols> s_module;
};

std::unique_ptr<ElfSymbols> ExportedSurface::s_module;

TEST_F(ExportedSurface, RegistratorIsExportedUnderItsPlainName)
{
    const std::vector<Symbol> symbols = Exported();
    const auto registrator =
        std::find_if(symbols.begin(), symbols.end(), [](const Symbol& s) { return s.name == "Registrator"; });
    ASSERT_NE(registrator, symbols.end());
    EXPECT_EQ(registrator->type, STT_FUNC);
}

TEST_F(ExportedSurface, FreeFunctionsAreExportedUnderDecoratedNamesAndNothingElseIs)
{
    std::set<std::string> exported;
    for (const Symbol& symbol : Exported())
        if (symbol.type == STT_FUNC)
            if (const std::string name = GlobalFunctionName(symbol.name); !name.empty())
                exported.insert(name);
    EXPECT_EQ(exported,
              std::set<std::string>(EXPORTED_FREE_FUNCTIONS.begin(), EXPORTED_FREE_FUNCTIONS.end()));
}

TEST_F(ExportedSurface, DiscReaderExportsItsListedMembersOnly)
{
    EXPECT_EQ(ExportedFunctionsIn("Vantor::Proc::CDReader::"),
              std::set<std::string>(EXPORTED_CDREADER_MEMBERS.begin(), EXPORTED_CDREADER_MEMBERS.end()));
}

TEST_F(ExportedSurface, TrackParserExportsItsListedMembersOnly)
{
    EXPECT_EQ(ExportedFunctionsIn("Vantor::Proc::ParserCD::"),
              std::set<std::string>(EXPORTED_PARSERCD_MEMBERS.begin(), EXPORTED_PARSERCD_MEMBERS.end()));
}

TEST_F(ExportedSurface, FactoryOperationsAreReachedOnlyThroughItsVirtualTable)
{
    EXPECT_EQ(ExportedFunctionsIn("ParserCreator::"), std::set<std::string>{});
}

TEST_F(ExportedSurface, PrivateHelpersLeaveNoTrace)
{
    for (const Symbol& symbol : s_module->Visible(SHT_DYNSYM)) {
        EXPECT_EQ(symbol.demangled.find("CDAFile"), std::string::npos) << symbol.demangled;
        EXPECT_EQ(symbol.demangled.find("GetPlatformCDDrivePath"), std::string::npos) << symbol.demangled;
    }
}

TEST_F(ExportedSurface, PluginClassesExportTheirTypeInformation)
{
    for (const std::string& name : PLUGIN_CLASSES)
        EXPECT_TRUE(IsExported("typeinfo for " + name)) << name;
}

// A host catches and casts by the one type information its own libraries define; a private copy
// inside the module would make that fail silently.
TEST_F(ExportedSurface, HostTypeInformationIsSharedNeverAPrivateCopy)
{
    std::set<std::string> dynamic;
    for (const Symbol& symbol : s_module->Visible(SHT_DYNSYM))
        dynamic.insert(symbol.demangled);
    EXPECT_TRUE(dynamic.count("typeinfo for Vantor::Proc::IParser"));
    EXPECT_TRUE(dynamic.count("typeinfo for Vantor::Exception"));
    if (!s_module->HasTable(SHT_SYMTAB))
        GTEST_SKIP() << "the module is stripped; only its dynamic symbols can be checked";

    std::set<std::string> definedAnywhere;
    for (const Symbol& symbol : s_module->All(SHT_SYMTAB))
        if (symbol.defined)
            definedAnywhere.insert(symbol.demangled);
    for (const std::string& name : HOST_CLASSES) {
        const std::string typeinfo = "typeinfo for " + name;
        if (definedAnywhere.count(typeinfo))
            EXPECT_TRUE(dynamic.count(typeinfo)) << name;
    }
}

} // namespace
