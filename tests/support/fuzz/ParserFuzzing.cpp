#include "ParserFuzzing.h"

#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Proc/IParser.h"
#include "Vantor/Proc/Parsers/ParserCD/ParserCD.h"
#include "cueify_fake/FakeCueify.h"

#include <discgeometry/DiscGeometry.h>
#include <glog/logging.h>

#include <functional>

namespace fuzzsupport {
namespace {

using Vantor::SP;

constexpr uint32_t kDataTrackLba = discgeometry::framesOf({2, 50, 0}) - discgeometry::kLeadInFrames;
constexpr Vantor::avTime kSectorDuration = 13333;

void checkPacket(const SP<Vantor::Proc::IDataPacket>& packet, Vantor::avTime expectedPts)
{
    if (packet && (packet->GetSize() != discgeometry::kRawSectorBytes || packet->GetPts() != expectedPts ||
                   packet->GetDuration() != kSectorDuration))
        __builtin_trap();
}

} // namespace

void setUpFakeDisc(uint8_t environment)
{
    fake::FakeCueify& cueify = fake::FakeCueify::instance();
    cueify.reset();
    fake::FakeDisc disc;
    disc.sessions = {{1, 1, 2, CUEIFY_SESSION_MODE_1, {0, 12, 0}},
                     {2, 3, 4, CUEIFY_SESSION_MODE_2, {3, 30, 0}}};
    disc.tracks = {{1, 1, 0, 1, {0, 2, 0}, {0, 5, 0}},
                   {2, 1, CUEIFY_TOC_TRACK_PERMITS_COPYING, 1, {0, 7, 0}, {0, 5, 0}},
                   {3, 2, CUEIFY_TOC_TRACK_IS_DATA, 1, {2, 50, 0}, {0, 30, 0}},
                   {4, 2, 0, 1, {0, 1, 0}, {0, 1, 0}}};
    cueify.setDisc(disc);
    fake::Sector dataSector{};
    dataSector[16] = static_cast<uint8_t>(environment >> 3);
    cueify.setSector(kDataTrackLba, dataSector);
    const std::function<void()> failures[] = {[] {},
                                              [&] { cueify.failNew(); },
                                              [&] { cueify.failTocNew(); },
                                              [&] { cueify.failOpen(CUEIFY_ERR_NO_DEVICE); },
                                              [&] { cueify.failTocRead(CUEIFY_ERR_INTERNAL); },
                                              [&] { cueify.failReadAt(0, CUEIFY_ERR_INTERNAL); },
                                              [&] { cueify.failReadAt(kDataTrackLba, CUEIFY_ERR_INTERNAL); },
                                              [&] { cueify.failReadAt(1, CUEIFY_ERR_INTERNAL); }};
    failures[environment & 7u]();
}

void openAndPlay(const std::string& path) noexcept
{
    try {
        const SP<Vantor::Proc::IParser> parser = Vantor::Proc::ParserCD::Create(
            Vantor::Core::DataInputPath::Create(Vantor::ioPath(path)), {}, nullptr);
        for (int k = 0; k < 3; ++k)
            checkPacket(parser->Read(), k * kSectorDuration);
        const Vantor::avTime end = parser->GetDuration();
        parser->Seek(0, end);
        checkPacket(parser->Read(), end / kSectorDuration * kSectorDuration);
    } catch (...) {
    }
    const fake::FakeCueify& cueify = fake::FakeCueify::instance();
    if (cueify.liveDevices() != 0 || cueify.liveTocs() != 0 || cueify.openDevices() != 0 ||
        !cueify.misuses().empty())
        __builtin_trap();
}

void silenceLogging() noexcept
{
    FLAGS_minloglevel = google::GLOG_FATAL;
}

} // namespace fuzzsupport
