// Writes named seed inputs into a corpus directory; used by the seed writers' main functions.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace fuzzsupport {

using Seed = std::pair<std::string, std::vector<uint8_t>>;

inline std::vector<uint8_t> bytesOf(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Returns the process's exit status: 0 when every seed was written.
inline int writeSeeds(int argc, char** argv, const std::vector<Seed>& seeds)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path directory(argv[1]);
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    for (const Seed& seed : seeds) {
        std::ofstream out(directory / seed.first, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(seed.second.data()),
                  static_cast<std::streamsize>(seed.second.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s into %s\n", seed.first.c_str(), directory.string().c_str());
            return 1;
        }
    }
    return 0;
}

} // namespace fuzzsupport
