// The registry hosts use: loads plug-in modules and keeps what they register.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/ioPath.h"
#include "Vantor/Proc/IPluginRegistry.h"

#include <memory>
#include <string>
#include <vector>

namespace Vantor {
namespace Proc {

class VANTOR_API PluginRegistry : public IPluginRegistry
{
public:
    PluginRegistry();
    // Releases every factory, then unloads the modules.
    ~PluginRegistry() override;
    PluginRegistry(const PluginRegistry&) = delete;
    PluginRegistry& operator=(const PluginRegistry&) = delete;

    // Loads the module with dlopen and calls its Registrator. Throws Vantor::Exception with a
    // description naming the module when it cannot be loaded or exports no Registrator.
    void LoadModule(const ioPath& modulePath);

    void RegisterParserCreator(const SP<IParserCreator>& creator) override;
    void RegisterCDReaderCreator(CDReaderCreator creator) override;

    // The factories registered for a format name, in registration order.
    std::vector<SP<IParserCreator>> GetParserCreators(const std::string& formatName) const;
    const std::vector<SP<IParserCreator>>& GetAllParserCreators() const noexcept;

    // The last reader creator registered, or null.
    CDReaderCreator GetCDReaderCreator() const noexcept;
    // Throws Vantor::Exception when no reader creator was registered.
    SP<ICDReader> CreateCDReader(const ioPath& path) const;

private:
    struct Modules;
    std::unique_ptr<Modules> m_modules; // declared first: destroyed after the factories
    std::vector<SP<IParserCreator>> m_parserCreators;
    CDReaderCreator m_cdReaderCreator = nullptr;
};

} // namespace Proc
} // namespace Vantor
