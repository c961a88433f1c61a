#include "Vantor/Proc/Parsers/ParserCD/Private/PlatformDrive.h"

#include "Vantor/Proc/Parsers/ParserCD/Private/MountInfo.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/RawDeviceName.h"

#ifdef __APPLE__
#include <sys/mount.h>
#include <sys/param.h>
#else
#include "Vantor/Proc/Parsers/ParserCD/TrackSource/DriveSearch.h"

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

// A directory the disc-access library lists as a drive: a virtual drive, or a directory that
// stands for a physical drive as a mounted disc's volume does.
bool IsListedDrive(const std::string& directory)
{
    const ListedDrives drives;
    for (size_t i = 0; i < drives.size(); ++i) {
        std::error_code error;
        if (drives[i] && std::filesystem::equivalent(directory, drives[i], error))
            return true;
    }
    return false;
}

bool IsDriveFolder(const std::string& directory)
{
    return HoldsCueSheet(directory) || IsListedDrive(directory);
}

bool IsItsOwnDrive(const std::string& path, const struct stat& status)
{
    if (S_ISBLK(status.st_mode))
        return true;
    if (S_ISREG(status.st_mode))
        return HasCueExtension(path);
    if (S_ISDIR(status.st_mode))
        return IsDriveFolder(path);
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

// The nearest folder above the path that is a drive: any file inside a disc image's folder,
// such as its TrackNN.cda files, is on that drive as a file on a mounted disc is on its drive.
std::optional<std::string> EnclosingDriveFolder(const std::filesystem::path& path)
{
    for (std::filesystem::path folder = path.parent_path(); folder.has_relative_path();
         folder = folder.parent_path()) {
        if (IsDriveFolder(folder.string()))
            return folder.string();
    }
    return std::nullopt;
}

std::optional<std::string> FindPlatformDrive(const std::string& absolutePath)
{
    struct stat status;
    if (stat(absolutePath.c_str(), &status) != 0)
        return std::nullopt;
    if (IsItsOwnDrive(absolutePath, status))
        return absolutePath;
    if (auto folder = EnclosingDriveFolder(absolutePath))
        return folder;
    return MountSourceOf(status.st_dev);
}

#endif

} // namespace Proc
} // namespace Vantor
