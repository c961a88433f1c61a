#include "Emulator.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace driveemulator {
namespace {

bool endsInNumber(const char* text)
{
    if (*text == '\0')
        return false;
    for (; *text != '\0'; ++text)
        if (!std::isdigit(static_cast<unsigned char>(*text)))
            return false;
    return true;
}

} // namespace

Emulator& Emulator::instance()
{
    // Never destroyed: other libraries' destructors may still close descriptors at exit.
    static Emulator* emulator = new Emulator();
    return *emulator;
}

Emulator::Emulator()
{
    const char* list = std::getenv("EMULATED_DRIVES");
    try {
        for (DriveConfig& config : parseDriveList(list != nullptr ? list : ""))
            m_drives.push_back(std::make_unique<EmulatedDrive>(std::move(config)));
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "drive emulator: EMULATED_DRIVES: %s\n", error.what());
        std::abort();
    }
    std::atexit([] { instance().writeCountersFiles(); });
}

void Emulator::writeCountersFiles() const
{
    for (const std::unique_ptr<EmulatedDrive>& drive : m_drives) {
        if (drive->config().countersFile.empty())
            continue;
        std::lock_guard<std::mutex> lock(drive->mutex());
        const DriveCounters& counters = drive->counters();
        std::ofstream file(drive->config().countersFile, std::ios::trunc);
        file << "commands " << counters.commands << "\nread-cd-commands " << counters.readCdCommands
             << "\nsectors-read " << counters.sectorsRead << "\nopens " << counters.opens << "\ntoc-reads "
             << counters.tocReads << "\nset-speed-commands " << counters.setSpeedCommands
             << "\nread-speeds-kbs";
        for (const uint16_t speed : counters.readSpeedsKbs)
            file << " " << speed;
        file << "\n";
    }
}

EmulatedDrive* Emulator::driveAt(const char* path) const noexcept
{
    for (const std::unique_ptr<EmulatedDrive>& drive : m_drives)
        if (path != nullptr && drive->config().path == path)
            return drive.get();
    return nullptr;
}

unsigned Emulator::indexOf(const EmulatedDrive& drive) const noexcept
{
    for (size_t i = 0; i < m_drives.size(); ++i)
        if (m_drives[i].get() == &drive)
            return static_cast<unsigned>(i);
    return 0;
}

void Emulator::opened(int fd, EmulatedDrive& drive)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open[fd] = OpenDrive{&drive, 0};
}

void Emulator::closed(int fd)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open.erase(fd);
}

bool isMachineDriveName(const char* path) noexcept
{
    if (path == nullptr || std::strncmp(path, "/dev/", 5) != 0)
        return false;
    const char* name = path + 5;
    if (std::strcmp(name, "cdrom") == 0 || std::strcmp(name, "dvd") == 0)
        return true;
    if (std::strncmp(name, "hd", 2) == 0)
        return std::islower(static_cast<unsigned char>(name[2])) && name[3] == '\0';
    if (std::strncmp(name, "scd", 3) == 0)
        return endsInNumber(name + 3);
    return std::strncmp(name, "sr", 2) == 0 && endsInNumber(name + 2);
}

} // namespace driveemulator
