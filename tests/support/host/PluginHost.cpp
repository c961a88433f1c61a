#include "PluginHost.h"

#include "Vantor/Core/Interfaces/IDataInput.h"

#include <algorithm>

namespace reliability {

PluginHost::PluginHost()
{
    m_registry.LoadModule(Vantor::ioPath(std::string(PARSERCD_MODULE_PATH)));
    m_factory = m_registry.GetParserCreators("cda").at(0);
}

Vantor::SP<Vantor::Proc::ICDReader> PluginHost::readDisc(const std::filesystem::path& drive) const
{
    return m_registry.CreateCDReader(Vantor::ioPath(drive.string()));
}

Vantor::SP<Vantor::Proc::IParser> PluginHost::open(const std::string& path) const
{
    return m_factory->Create(Vantor::Core::DataInputPath::Create(Vantor::ioPath(path)), {}, nullptr);
}

bool isSector(const Vantor::SP<Vantor::Proc::IDataPacket>& packet, const mkdisc::Sector& expected, uint32_t k)
{
    constexpr long long kSectorDuration = 13333; // µs, as the plug-in stamps its packets
    return packet && packet->GetSize() == expected.size() &&
           std::equal(expected.begin(), expected.end(), packet->GetData()) &&
           packet->GetPts() == static_cast<long long>(k) * kSectorDuration;
}

} // namespace reliability
