#include "FakeDisc.h"

#include "cueify_fake/FakeCueify.h"

#include <discgeometry/DiscGeometry.h>

namespace fuzzsupport {
namespace {

constexpr uint32_t kDataTrackLba =
    discgeometry::framesOf({2, 50, 0}) - discgeometry::kLeadInFrames; // 02:50:00

fake::FakeTrack track(uint8_t number, uint8_t session, uint8_t control, fake::Msf address, fake::Msf length)
{
    fake::FakeTrack result;
    result.number = number;
    result.session = session;
    result.control = control;
    result.address = address;
    result.length = length;
    return result;
}

fake::FakeDisc disc()
{
    fake::FakeDisc result;
    result.sessions = {{1, 1, 2, CUEIFY_SESSION_MODE_1, {0, 12, 0}},
                       {2, 3, 4, CUEIFY_SESSION_MODE_2, {3, 30, 0}}};
    result.tracks = {track(1, 1, 0, {0, 2, 0}, {0, 5, 0}),
                     track(2, 1, CUEIFY_TOC_TRACK_PERMITS_COPYING, {0, 7, 0}, {0, 5, 0}),
                     track(3, 2, CUEIFY_TOC_TRACK_IS_DATA, {2, 50, 0}, {0, 30, 0}),
                     track(4, 2, 0, {0, 1, 0}, {0, 1, 0})};
    return result;
}

fake::Sector dataTrackSector(uint8_t modeByte)
{
    fake::Sector sector{};
    sector[16] = modeByte;
    return sector;
}

void injectFailure(fake::FakeCueify& cueify, unsigned failure)
{
    switch (failure) {
    case 1:
        cueify.failNew();
        break;
    case 2:
        cueify.failTocNew();
        break;
    case 3:
        cueify.failOpen(CUEIFY_ERR_NO_DEVICE);
        break;
    case 4:
        cueify.failTocRead(CUEIFY_ERR_INTERNAL);
        break;
    case 5:
        cueify.failReadAt(0, CUEIFY_ERR_INTERNAL);
        break;
    case 6:
        cueify.failReadAt(kDataTrackLba, CUEIFY_ERR_INTERNAL);
        break;
    case 7:
        cueify.failReadAt(1, CUEIFY_ERR_INTERNAL);
        break;
    default:
        break;
    }
}

} // namespace

void setUpFakeDisc(uint8_t environment)
{
    fake::FakeCueify& cueify = fake::FakeCueify::instance();
    cueify.reset();
    cueify.setDisc(disc());
    cueify.setSector(kDataTrackLba, dataTrackSector(static_cast<uint8_t>(environment >> 3)));
    injectFailure(cueify, environment & 7u);
}

bool fakeIsClean()
{
    const fake::FakeCueify& cueify = fake::FakeCueify::instance();
    return cueify.liveDevices() == 0 && cueify.liveTocs() == 0 && cueify.openDevices() == 0 &&
           cueify.misuses().empty();
}

} // namespace fuzzsupport
