#include "image/CookedSector.h"

#include "image/SectorEcc.h"
#include "image/SectorEdc.h"

#include <cstring>

namespace cueify {
namespace {

constexpr size_t kSyncBytes = 12;
constexpr size_t kHeaderEnd = 16;
constexpr size_t kSubheaderEnd = 24; // mode 2: the XA subheader, stored twice
constexpr size_t kMode1EdcStart = 2064;
constexpr size_t kForm1EdcStart = 2072;
constexpr size_t kForm2EdcStart = 2348;

// Submode bytes of the XA subheader (file, channel, submode, coding): form 1 data, form 2.
constexpr uint8_t kSubmodeForm1Data = 0x08;
constexpr uint8_t kSubmodeForm2 = 0x20;

uint8_t bcd(uint8_t value)
{
    return static_cast<uint8_t>((value / 10) << 4 | value % 10);
}

void writeSyncAndHeader(AbsoluteFrame address, uint8_t mode, uint8_t* raw)
{
    raw[0] = 0x00;
    std::memset(raw + 1, 0xFF, kSyncBytes - 2);
    raw[kSyncBytes - 1] = 0x00;
    const cueify_msf_t msf = toMsf(address);
    raw[12] = bcd(msf.min);
    raw[13] = bcd(msf.sec);
    raw[14] = bcd(msf.frm);
    raw[15] = mode;
}

void writeSubheader(uint8_t submode, uint8_t* raw)
{
    const uint8_t subheader[8] = {0, 0, submode, 0, 0, 0, submode, 0};
    std::memcpy(raw + kHeaderEnd, subheader, sizeof subheader);
}

} // namespace

size_t storedBytesOf(CookedMode mode) noexcept
{
    switch (mode) {
    case CookedMode::Mode1:
        return kMode1StoredBytes;
    case CookedMode::Mode2Form1:
        return kMode2Form1StoredBytes;
    case CookedMode::Mode2Form2:
        return kMode2Form2StoredBytes;
    case CookedMode::Mode2:
        break;
    }
    return kMode2StoredBytes;
}

void expandCookedSector(CookedMode mode, AbsoluteFrame address, const uint8_t* stored, uint8_t* raw) noexcept
{
    writeSyncAndHeader(address, mode == CookedMode::Mode1 ? 1 : 2, raw);
    switch (mode) {
    case CookedMode::Mode1:
        std::memcpy(raw + kHeaderEnd, stored, kMode1StoredBytes);
        writeSectorEdc(raw, kMode1EdcStart);
        std::memset(raw + kMode1EdcStart + 4, 0, 8);
        writeSectorEcc(raw, EccHeader::AsStored);
        break;
    case CookedMode::Mode2Form1:
        writeSubheader(kSubmodeForm1Data, raw);
        std::memcpy(raw + kSubheaderEnd, stored, kMode2Form1StoredBytes);
        writeSectorEdc(raw + kHeaderEnd, kForm1EdcStart - kHeaderEnd);
        writeSectorEcc(raw, EccHeader::AsZero);
        break;
    case CookedMode::Mode2Form2:
        writeSubheader(kSubmodeForm2, raw);
        std::memcpy(raw + kSubheaderEnd, stored, kMode2Form2StoredBytes);
        writeSectorEdc(raw + kHeaderEnd, kForm2EdcStart - kHeaderEnd);
        break;
    case CookedMode::Mode2:
        std::memcpy(raw + kHeaderEnd, stored, kMode2StoredBytes);
        break;
    }
}

} // namespace cueify
