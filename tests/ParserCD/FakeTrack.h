// Audio tracks on the in-memory cueify fake, opened through the track path a host would use.
#pragma once

#include "cueify_fake/FakeCueify.h"

#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Proc/ICDReader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace faketrack {

constexpr const char* DRIVE = "/dev/sr0";
constexpr uint32_t LEAD_IN_SECTORS = 150; // absolute address of logical block 0

inline fake::Msf MsfOfSectors(uint32_t sectors)
{
    return {static_cast<uint8_t>(sectors / 4500), static_cast<uint8_t>(sectors / 75 % 60),
            static_cast<uint8_t>(sectors % 75)};
}

// One session of audio tracks laid end to end from startLba; lengths in sectors.
inline fake::FakeDisc AudioDisc(uint32_t startLba, const std::vector<uint32_t>& lengths)
{
    fake::FakeDisc disc;
    uint32_t address = startLba + LEAD_IN_SECTORS;
    for (size_t index = 0; index < lengths.size(); ++index) {
        fake::FakeTrack track;
        track.number = static_cast<uint8_t>(index + 1);
        track.address = MsfOfSectors(address);
        track.length = MsfOfSectors(lengths[index]);
        disc.tracks.push_back(track);
        address += lengths[index];
    }
    fake::FakeSession session;
    session.firstTrack = 1;
    session.lastTrack = static_cast<uint8_t>(lengths.size());
    session.leadOut = MsfOfSectors(address);
    disc.sessions.push_back(session);
    return disc;
}

inline Vantor::SP<Vantor::Core::IDataInput> TrackInput(unsigned track)
{
    using Vantor::Proc::ICDReader;
    return Vantor::Core::DataInputPath::Create(ICDReader::CD_PATH_PREFIX + DRIVE +
                                               ICDReader::CD_TRACK_PREFIX + std::to_string(track) + ".cda");
}

// Bytes that differ from sector to sector, so that a read of the wrong sector shows.
inline fake::Sector PatternSector(uint32_t lba)
{
    fake::Sector sector;
    for (size_t offset = 0; offset < sector.size(); ++offset)
        sector[offset] = static_cast<uint8_t>((lba * 7 + offset) % 251);
    return sector;
}

inline std::vector<uint32_t> ReadAddresses()
{
    std::vector<uint32_t> addresses;
    for (const fake::Call& call : fake::FakeCueify::instance().calls())
        if (call.function == "cueify_device_read_raw")
            addresses.push_back(call.number);
    return addresses;
}

// Resets the fake around each test and checks that every handle was used and freed properly.
class FakeDiscTest : public testing::Test
{
protected:
    void SetUp() override { disc.reset(); }
    void TearDown() override
    {
        EXPECT_TRUE(disc.misuses().empty());
        disc.reset();
    }

    // Call after every parser of the test was released.
    void ExpectEverythingFreed() const
    {
        EXPECT_EQ(disc.liveDevices(), 0);
        EXPECT_EQ(disc.liveTocs(), 0);
    }

    fake::FakeCueify& disc = fake::FakeCueify::instance();
};

} // namespace faketrack
