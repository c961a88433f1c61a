// The drives the disc-access library knows, and the one among them that holds the disc a .cda
// file stands for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace Vantor {
namespace Proc {

// The names cueify_device_get_all_devices lists, in its order: the physical drives, then the
// virtual drives named in CUEIFY_VIRTUAL_DRIVES. Owns the one block that holds the pointers and the
// names they point to.
class ListedDrives
{
public:
    ListedDrives();

    size_t size() const noexcept { return m_names ? m_count : 0; }
    // May be null.
    const char* operator[](size_t index) const noexcept { return m_names[index]; }

private:
    struct FreeBlock
    {
        void operator()(char** block) const noexcept;
    };

    size_t m_count = 0; // before m_names, whose making fills it
    std::unique_ptr<char*[], FreeBlock> m_names;
};

// The first listed drive that is a directory whose first .cda file, in listing order and of any
// letter case, carries this serial number, and whose disc opens and gives its sector 0; empty when no
// drive does. Drives that cannot be opened are passed over; errors of listing a directory or reading
// its .cda file pass out unchanged.
std::optional<std::string> FindDriveWithSerial(uint32_t serial);

} // namespace Proc
} // namespace Vantor
