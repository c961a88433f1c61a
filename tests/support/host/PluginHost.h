// What a host has: the plug-in module loaded by the registry, its disc reader and its "cda"
// parser factory. Tests reach the plug-in through nothing else.
#pragma once

#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Proc/ICDReader.h"
#include "Vantor/Proc/IParser.h"
#include "Vantor/Proc/IParserCreator.h"
#include "Vantor/Proc/PluginRegistry.h"

#include <filesystem>
#include <string>

namespace reliability {

class PluginHost
{
public:
    // Loads the built module; throws when it cannot be loaded or registers no "cda" parser factory.
    PluginHost()
    {
        m_registry.LoadModule(Vantor::ioPath(std::string(PARSERCD_MODULE_PATH)));
        m_factory = m_registry.GetParserCreators("cda").at(0);
    }

    Vantor::SP<Vantor::Proc::ICDReader> readDisc(const std::filesystem::path& drive) const
    {
        return m_registry.CreateCDReader(Vantor::ioPath(drive.string()));
    }
    // A parser for a track path or a .cda file; throws what the plug-in throws.
    Vantor::SP<Vantor::Proc::IParser> open(const std::string& path) const
    {
        return m_factory->Create(Vantor::Core::DataInputPath::Create(Vantor::ioPath(path)), {}, nullptr);
    }

private:
    Vantor::Proc::PluginRegistry m_registry;
    Vantor::SP<Vantor::Proc::IParserCreator> m_factory;
};

} // namespace reliability
