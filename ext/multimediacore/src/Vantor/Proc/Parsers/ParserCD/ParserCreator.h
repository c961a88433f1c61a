// The parser factory registered once for each CD format name.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"
#include "Vantor/Proc/IParserCreator.h"

#include <string>

class VANTOR_API ParserCreator : public Vantor::Proc::IParserCreator
{
public:
    VANTOR_HIDDEN explicit ParserCreator(const std::string& formatName);
    VANTOR_HIDDEN ~ParserCreator() override;

    VANTOR_HIDDEN long AddRef() const override;
    VANTOR_HIDDEN long GetRefCount() const override;
    VANTOR_HIDDEN long Release() const override;

    VANTOR_HIDDEN bool IsExist() const override;
    VANTOR_HIDDEN Vantor::SP<Vantor::Proc::IParser>
    Create(const Vantor::SP<Vantor::Core::IDataInput>& input, const Vantor::Proc::SettingsParser& settings,
           const Vantor::SP<Vantor::Proc::ICoreTracker>& tracker) const override;

private:
    Vantor::RefCountImpl m_refCount;
};
