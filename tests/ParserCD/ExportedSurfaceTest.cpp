// What loading the built module does: nothing of ours runs before the host calls Registrator.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

// No translation unit has a static initialiser (the compiler names them "_GLOBAL__sub_I_<file>")
// in the module's .init_array: the module's symbols, as nm lists them, hold none.
TEST(ExportedSurface, LoadingRunsNoStaticInitialiserOfOurs)
{
    const std::unique_ptr<FILE, int (*)(FILE*)> output(
        popen("nm --defined-only '" PARSERCD_MODULE_PATH "' 2>/dev/null", "r"), pclose);
    int symbols = 0;
    char line[16384];
    while (output && fgets(line, sizeof line, output.get()) != nullptr) {
        ++symbols;
        EXPECT_EQ(std::strstr(line, " _GLOBAL__sub_I_"), nullptr) << line;
    }
    EXPECT_GT(symbols, 0) << "nm lists nothing for " PARSERCD_MODULE_PATH;
}

} // namespace
