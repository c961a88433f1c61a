#include "WholeTextFile.h"

#include "AtomicOutputFile.h"
#include "UserError.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace vantorcd {

void writeWholeTextFile(const std::filesystem::path& path, const std::string& text)
{
    AtomicOutputFile file(path);
    std::ofstream out(file.temporaryPath(), std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        throw UserError("cannot write " + path.string() + ": " + std::strerror(errno));
    file.commit();
}

} // namespace vantorcd
