// Disc images written at test time: temporary directories, data files whose every sector
// tells where it came from, WAVE files, and owners for the C handles.
#pragma once

#include <cueify/cueify.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace cueify::test {

namespace fs = std::filesystem;

using Sector = std::array<uint8_t, CUEIFY_RAW_SECTOR_SIZE>;

// A fresh directory, removed with everything in it when the owner goes.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& path() const { return m_path; }
    fs::path operator/(const std::string& name) const { return m_path / name; }

private:
    fs::path m_path;
};

// A sector that differs from the sector of every other (tag, index) pair.
Sector patternSector(uint32_t tag, uint32_t index);

// Raw sectors patternSector(tag, 0) to patternSector(tag, count - 1), then extraBytes more bytes.
std::string patternBytes(uint32_t tag, uint32_t count, size_t extraBytes = 0);

struct WaveFormatFields
{
    uint16_t formatTag = 1;
    uint16_t channels = 2;
    uint32_t sampleRate = 44100;
    uint16_t bitsPerSample = 16;
};

// A RIFF WAVE file around pcm, with an odd-sized chunk before "data" to be skipped.
std::string waveBytes(const std::string& pcm, const WaveFormatFields& format = {});

void writeFile(const fs::path& path, const std::string& bytes);

struct DeviceFree
{
    void operator()(cueify_device* d) const { cueify_device_free(d); }
};
using DeviceOwner = std::unique_ptr<cueify_device, DeviceFree>;

struct TocFree
{
    void operator()(cueify_full_toc* t) const { cueify_full_toc_free(t); }
};
using TocOwner = std::unique_ptr<cueify_full_toc, TocFree>;

// A device opened on name, or null when cueify_device_open fails.
DeviceOwner openDevice(const std::string& name);

// The result code of opening name on a new handle.
int openResult(const std::string& name);

// The full TOC of a device; an empty TOC when the read fails.
TocOwner readToc(cueify_device* device);

// The sector at lba, or a sector of 0xEE bytes when the read fails.
Sector readSector(cueify_device* device, uint32_t lba);

// cueify_msf_t as "mm:ss:ff", for readable comparisons.
std::string text(const cueify_msf_t& msf);

// A frame count (75 a second) as "mm:ss:ff".
std::string framesText(uint32_t frames);

} // namespace cueify::test
