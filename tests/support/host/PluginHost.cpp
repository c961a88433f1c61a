#include "PluginHost.h"

#include "Vantor/Core/Interfaces/IDataInput.h"

namespace reliability {

PluginHost::PluginHost()
{
    m_registry.LoadModule(Vantor::ioPath(std::string(PARSERCD_MODULE_PATH)));
    m_factory = m_registry.GetParserCreators("cda").at(0);
}

Vantor::SP<Vantor::Proc::IParser> PluginHost::open(const std::string& path) const
{
    return m_factory->Create(Vantor::Core::DataInputPath::Create(Vantor::ioPath(path)), {}, nullptr);
}

} // namespace reliability
