#include "Vantor/Proc/Parsers/ParserCD/Private/PlatformDrive.h"

#include "Vantor/Proc/Parsers/ParserCD/Private/MountInfo.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/RawDeviceName.h"

#ifdef __APPLE__
#include <sys/mount.h>
#include <sys/param.h>
#else
#include <boost/algorithm/string/case_conv.hpp>

#include <filesystem>
#include <fstream>
#include <system_error>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

namespace Vantor {
namespace Proc {

#ifdef __APPLE__

std::optional<std::string> FindPlatformDrive(const std::string& absolutePath)
{
    // x86-64 builds use the 64-bit-inode form of statfs by default (_DARWIN_FEATURE_64_BIT_INODE).
    struct statfs volume;
    if (statfs(absolutePath.c_str(), &volume) != 0)
        return std::nullopt;
    return RawDeviceName(volume.f_mntfromname);
}

#else

namespace {

bool HasCueExtension(const std::filesystem::path& path)
{
    return boost::algorithm::to_lower_copy(path.extension().string()) == ".cue";
}

bool HoldsCueSheet(const std::string& directory)
{
    std::error_code error;
    for (std::filesystem::directory_iterator entry(directory, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code typeError;
        if (entry->is_regular_file(typeError) && HasCueExtension(entry->path()))
            return true;
    }
    return false;
}

bool IsItsOwnDrive(const std::string& path, const struct stat& status)
{
    if (S_ISBLK(status.st_mode))
        return true;
    if (S_ISREG(status.st_mode))
        return HasCueExtension(path);
    if (S_ISDIR(status.st_mode))
        return HoldsCueSheet(path);
    return false;
}

std::optional<std::string> MountSourceOf(dev_t volume)
{
    std::ifstream mountInfo("/proc/self/mountinfo");
    if (!mountInfo)
        return std::nullopt;
    return FindMountSource(mountInfo, major(volume), minor(volume));
}

} // namespace

std::optional<std::string> FindPlatformDrive(const std::string& absolutePath)
{
    struct stat status;
    if (stat(absolutePath.c_str(), &status) != 0)
        return std::nullopt;
    if (IsItsOwnDrive(absolutePath, status))
        return absolutePath;
    return MountSourceOf(status.st_dev);
}

#endif

} // namespace Proc
} // namespace Vantor
