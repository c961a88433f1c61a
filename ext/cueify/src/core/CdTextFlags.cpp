#include "core/CdTextFlags.h"

namespace cueify {
namespace {

constexpr uint8_t kProgramData = 0x80;
constexpr uint8_t kProgramCopyright = 0x40;
constexpr uint8_t kMessageCopyright = 0x04;
constexpr uint8_t kNameCopyright = 0x02;
constexpr uint8_t kTitleCopyright = 0x01;

} // namespace

CdTextFlags CdTextFlags::fromByte(uint8_t byte) noexcept
{
    return {(byte & kProgramData) != 0, (byte & kProgramCopyright) != 0, (byte & kMessageCopyright) != 0,
            (byte & kNameCopyright) != 0, (byte & kTitleCopyright) != 0};
}

uint8_t CdTextFlags::toByte() const noexcept
{
    return (programData ? kProgramData : 0) | (programCopyright ? kProgramCopyright : 0) |
           (messageCopyright ? kMessageCopyright : 0) | (nameCopyright ? kNameCopyright : 0) |
           (titleCopyright ? kTitleCopyright : 0);
}

} // namespace cueify
