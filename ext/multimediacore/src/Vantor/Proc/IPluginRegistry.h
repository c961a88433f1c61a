// What a plug-in's Registrator is given: the place to register its factories.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"
#include "Vantor/Core/Interfaces/ioPath.h"
#include "Vantor/Proc/ICDReader.h"
#include "Vantor/Proc/IParserCreator.h"

namespace Vantor {
namespace Proc {

typedef SP<ICDReader> (*CDReaderCreator)(const ioPath& path);

class VANTOR_API IPluginRegistry
{
public:
    virtual ~IPluginRegistry();

    virtual void RegisterParserCreator(const SP<IParserCreator>& creator) = 0;
    virtual void RegisterCDReaderCreator(CDReaderCreator creator) = 0;
};

// The entry point every plug-in module exports under this plain name.
typedef void (*RegistratorFunction)(IPluginRegistry* registry);
constexpr const char* kRegistratorSymbol = "Registrator";

} // namespace Proc
} // namespace Vantor
