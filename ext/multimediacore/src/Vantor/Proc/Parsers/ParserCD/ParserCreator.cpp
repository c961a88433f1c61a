#include "Vantor/Proc/Parsers/ParserCD/ParserCreator.h"

#include "Vantor/Conf/IFormatFile.h"
#include "Vantor/Proc/Parsers/ParserCD/ParserCD.h"

using namespace Vantor;

ParserCreator::ParserCreator(const std::string& formatName)
    : Proc::IParserCreator(formatName, Conf::IFormatFile::PARSER_LIBCUEIFY_IMPL)
{
}

ParserCreator::~ParserCreator() = default;

long ParserCreator::AddRef() const
{
    return m_refCount.AddRefImpl();
}

long ParserCreator::GetRefCount() const
{
    return m_refCount.GetRefCountImpl();
}

long ParserCreator::Release() const
{
    const long count = m_refCount.ReleaseImpl();
    if (count == 0)
        delete this;
    return count;
}

// Parsers read discs only when they open, so the factory itself works on any machine.
bool ParserCreator::IsExist() const
{
    return true;
}

SP<Proc::IParser> ParserCreator::Create(const SP<Core::IDataInput>& input,
                                        const Proc::SettingsParser& settings,
                                        const SP<Proc::ICoreTracker>& tracker) const
{
    return Proc::ParserCD::Create(input, settings, tracker);
}
