// The program's host framework: one plug-in registry with the CD plug-in loaded into it.
// Everything else reaches the plug-in through the readers and parsers it hands out here.
#pragma once

#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Core/Interfaces/ioPath.h"
#include "Vantor/Proc/ICDReader.h"
#include "Vantor/Proc/IParser.h"
#include "Vantor/Proc/PluginRegistry.h"

#include <filesystem>
#include <string>

namespace vantorcd {

class Host
{
public:
    // Loads the module at once. Throws UserError naming the module when it cannot be loaded.
    explicit Host(const std::filesystem::path& modulePath);

    // The plug-in's disc reader for a path on a disc. Throws what the plug-in throws.
    Vantor::SP<Vantor::Proc::ICDReader> openDisc(const Vantor::ioPath& path) const;

    // An opened parser from the first factory registered for the format. Throws UserError when
    // no factory is registered for it, and what the plug-in throws when the input cannot be opened.
    Vantor::SP<Vantor::Proc::IParser> openTrack(const Vantor::SP<Vantor::Core::IDataInput>& input,
                                                const std::string& formatName) const;

private:
    Vantor::Proc::PluginRegistry m_registry;
};

} // namespace vantorcd
