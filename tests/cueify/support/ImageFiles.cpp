#include "ImageFiles.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace cueify::test {
namespace {

void appendLittleEndian(std::string& bytes, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

void appendChunk(std::string& bytes, const char* id, const std::string& body)
{
    bytes.append(id, 4);
    appendLittleEndian(bytes, static_cast<uint32_t>(body.size()), 4);
    bytes += body;
    if (body.size() % 2 != 0)
        bytes.push_back('\0');
}

} // namespace

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "cueify-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

Sector patternSector(uint32_t tag, uint32_t index)
{
    const uint32_t seed = tag * 0x9E3779B1u ^ (index + 1) * 0x85EBCA6Bu;
    Sector sector;
    for (size_t i = 0; i < sector.size(); ++i)
        sector[i] = static_cast<uint8_t>((seed >> (8 * (i % 4))) + i / 4);
    return sector;
}

std::string patternBytes(uint32_t tag, uint32_t count, size_t extraBytes)
{
    std::string bytes;
    bytes.reserve(size_t{count} * CUEIFY_RAW_SECTOR_SIZE + extraBytes);
    for (uint32_t i = 0; i < count; ++i) {
        const Sector sector = patternSector(tag, i);
        bytes.append(reinterpret_cast<const char*>(sector.data()), sector.size());
    }
    bytes.append(extraBytes, '\x5A');
    return bytes;
}

std::string waveBytes(const std::string& pcm, const WaveFormatFields& format)
{
    const uint16_t blockAlign = static_cast<uint16_t>(format.channels * format.bitsPerSample / 8);
    std::string fmt;
    appendLittleEndian(fmt, format.formatTag, 2);
    appendLittleEndian(fmt, format.channels, 2);
    appendLittleEndian(fmt, format.sampleRate, 4);
    appendLittleEndian(fmt, format.sampleRate * blockAlign, 4);
    appendLittleEndian(fmt, blockAlign, 2);
    appendLittleEndian(fmt, format.bitsPerSample, 2);
    std::string body = "WAVE";
    appendChunk(body, "fmt ", fmt);
    appendChunk(body, "LIST", "odd");
    appendChunk(body, "data", pcm);
    std::string file = "RIFF";
    appendLittleEndian(file, static_cast<uint32_t>(body.size()), 4);
    return file + body;
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

DeviceOwner openDevice(const std::string& name)
{
    DeviceOwner device(cueify_device_new());
    if (!device || cueify_device_open(device.get(), name.c_str()) != CUEIFY_OK)
        return nullptr;
    return device;
}

int openResult(const std::string& name)
{
    DeviceOwner device(cueify_device_new());
    return cueify_device_open(device.get(), name.c_str());
}

TocOwner readToc(cueify_device* device)
{
    TocOwner toc(cueify_full_toc_new());
    if (cueify_device_read_full_toc(device, toc.get()) != CUEIFY_OK)
        return TocOwner(cueify_full_toc_new());
    return toc;
}

Sector readSector(cueify_device* device, uint32_t lba)
{
    Sector sector;
    if (cueify_device_read_raw(device, lba, sector.data()) != CUEIFY_OK)
        sector.fill(0xEE);
    return sector;
}

std::string text(const cueify_msf_t& msf)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u", msf.min, msf.sec, msf.frm);
    return buffer;
}

std::string framesText(uint32_t frames)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u", frames / 4500, frames / 75 % 60, frames % 75);
    return buffer;
}

} // namespace cueify::test
