#include "ParserRun.h"

#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Proc/IParser.h"
#include "Vantor/Proc/Parsers/ParserCD/ParserCD.h"

#include <discgeometry/DiscGeometry.h>
#include <glog/logging.h>

#include <cstddef>

namespace fuzzsupport {
namespace {

using Vantor::SP;

using discgeometry::kRawSectorBytes;
constexpr Vantor::avTime kSectorDuration = 13333;
constexpr int kPacketsToRead = 3;

void checkPacket(const SP<Vantor::Proc::IDataPacket>& packet, Vantor::avTime expectedPts)
{
    if (packet->GetSize() != kRawSectorBytes || packet->GetPts() != expectedPts ||
        packet->GetDuration() != kSectorDuration)
        __builtin_trap();
}

void play(Vantor::Proc::IParser& parser)
{
    for (int k = 0; k < kPacketsToRead; ++k) {
        const SP<Vantor::Proc::IDataPacket> packet = parser.Read();
        if (packet)
            checkPacket(packet, k * kSectorDuration);
    }
    const Vantor::avTime end = parser.GetDuration();
    parser.Seek(0, end);
    const Vantor::avTime last = end / kSectorDuration * kSectorDuration;
    if (const SP<Vantor::Proc::IDataPacket> packet = parser.Read())
        checkPacket(packet, last);
}

} // namespace

void openAndPlay(const std::string& path) noexcept
{
    try {
        const SP<Vantor::Proc::IParser> parser = Vantor::Proc::ParserCD::Create(
            Vantor::Core::DataInputPath::Create(Vantor::ioPath(path)), {}, nullptr);
        play(*parser);
    } catch (...) {
    }
}

void silenceLogging() noexcept
{
    FLAGS_minloglevel = google::GLOG_FATAL;
}

} // namespace fuzzsupport
