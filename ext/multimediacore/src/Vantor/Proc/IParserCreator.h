// A parser factory, registered once per format name.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"
#include "Vantor/Proc/ICoreTracker.h"
#include "Vantor/Proc/IImplInfo.h"
#include "Vantor/Proc/IParser.h"
#include "Vantor/Proc/SettingsParser.h"

namespace Vantor {
namespace Proc {

class VANTOR_API IParserCreator : public IImplInfo
{
public:
    using IImplInfo::IImplInfo;
    ~IParserCreator() override;

    // An opened parser for the input; throws when the input cannot be opened.
    virtual SP<IParser> Create(const SP<Core::IDataInput>& input, const SettingsParser& settings,
                               const SP<ICoreTracker>& tracker) const = 0;
};

} // namespace Proc
} // namespace Vantor
