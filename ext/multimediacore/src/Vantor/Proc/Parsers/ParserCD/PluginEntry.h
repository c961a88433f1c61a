// The module's entry points, found by name by the host.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Proc/ICoreTracker.h"
#include "Vantor/Proc/IParser.h"
#include "Vantor/Proc/IPluginRegistry.h"
#include "Vantor/Proc/SettingsParser.h"

// Registers the disc-reader creator, then one parser factory per CD format name.
extern "C" VANTOR_API void Registrator(Vantor::Proc::IPluginRegistry* registry);

// Creates an opened track parser, as ParserCD::Create does.
VANTOR_API Vantor::SP<Vantor::Proc::IParser>
CreateParserCD(const Vantor::SP<Vantor::Core::IDataInput>& input,
               const Vantor::Proc::SettingsParser& settings,
               const Vantor::SP<Vantor::Proc::ICoreTracker>& tracker);
