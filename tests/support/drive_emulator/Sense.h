// SCSI sense data in the fixed format a drive returns with CHECK CONDITION.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace driveemulator {

struct Sense
{
    uint8_t key = 0;
    uint8_t asc = 0;
    uint8_t ascq = 0;
    std::optional<uint32_t> information; // the failing LBA of a read

    static Sense notReady(uint8_t ascq) { return {0x02, 0x04, ascq, std::nullopt}; }
    static Sense noMedium() { return {0x02, 0x3A, 0x00, std::nullopt}; }
    static Sense mediumError(uint32_t lba) { return {0x03, 0x11, 0x00, lba}; } // unrecovered read error
    static Sense invalidOpcode() { return {0x05, 0x20, 0x00, std::nullopt}; }
    static Sense lbaOutOfRange() { return {0x05, 0x21, 0x00, std::nullopt}; }
    static Sense invalidField() { return {0x05, 0x24, 0x00, std::nullopt}; }
    static Sense illegalModeForTrack() { return {0x05, 0x64, 0x00, std::nullopt}; }

    std::array<uint8_t, 18> bytes() const
    {
        std::array<uint8_t, 18> fixed{};
        fixed[0] = information ? 0xF0 : 0x70; // current error, VALID when the information field holds the LBA
        fixed[2] = key;
        for (int i = 0; information && i < 4; ++i)
            fixed[3 + i] = static_cast<uint8_t>(*information >> (24 - 8 * i));
        fixed[7] = 10; // additional sense length
        fixed[12] = asc;
        fixed[13] = ascq;
        return fixed;
    }
};

} // namespace driveemulator
