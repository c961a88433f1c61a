#include "Vantor/Proc/Parsers/ParserCD/PluginEntry.h"

#include "Vantor/Conf/CDFormats.h"
#include "Vantor/Proc/Parsers/ParserCD/CDReader.h"
#include "Vantor/Proc/Parsers/ParserCD/ParserCD.h"
#include "Vantor/Proc/Parsers/ParserCD/ParserCreator.h"

#include <string>

using namespace Vantor;

// Catches nothing: a failing registry or list reaches the host, and what was registered before
// stays registered.
extern "C" void Registrator(Proc::IPluginRegistry* registry)
{
    registry->RegisterCDReaderCreator(&Proc::CDReader::Create);
    for (const std::string& formatName : Conf::GetCDFormatList()) {
        // The local handle takes the first reference; the factory lives on only if the
        // registry keeps one of its own.
        const SP<Proc::IParserCreator> creator(new ParserCreator(formatName));
        registry->RegisterParserCreator(creator);
    }
}

SP<Proc::IParser> CreateParserCD(const SP<Core::IDataInput>& input, const Proc::SettingsParser& settings,
                                 const SP<Proc::ICoreTracker>& tracker)
{
    return Proc::ParserCD::Create(input, settings, tracker);
}
