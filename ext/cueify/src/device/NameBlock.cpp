#include "device/NameBlock.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace cueify {
namespace {

size_t blockSize(const std::vector<std::string>& names)
{
    size_t bytes = names.size() * sizeof(char*);
    for (const std::string& name : names)
        bytes += name.size() + 1;
    return bytes;
}

} // namespace

char** packNames(const std::vector<std::string>& names, size_t& count)
{
    count = 0;
    if (names.empty())
        return nullptr;
    char** block = static_cast<char**>(std::malloc(blockSize(names)));
    if (!block)
        throw std::bad_alloc();
    char* text = reinterpret_cast<char*>(block + names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        block[i] = text;
        std::memcpy(text, names[i].c_str(), names[i].size() + 1);
        text += names[i].size() + 1;
    }
    count = names.size();
    return block;
}

} // namespace cueify
