// A minimal plug-in module: one parser factory for "cda", which refuses every input, and a
// disc-reader creator whose reader names its tracks with the host's track-path scheme.
#include "Vantor/Core/Interfaces/Throw.h"
#include "Vantor/Proc/IPluginRegistry.h"

#include <string>

namespace {

class TestReader final : public Vantor::Proc::ICDReader
{
public:
    explicit TestReader(const Vantor::ioPath& drive) : m_drive(drive) {}

    long AddRef() const override { return m_count.AddRefImpl(); }
    long GetRefCount() const override { return m_count.GetRefCountImpl(); }
    long Release() const override
    {
        const long left = m_count.ReleaseImpl();
        if (left == 0)
            delete this;
        return left;
    }

    Vantor::avTime GetDiskDuration() const override { return 0; }
    Vantor::Index GetTrackCount() const override { return 1; }
    Vantor::avTime GetTrackDuration(Vantor::Index) const override { return 0; }
    Vantor::ioPath GetTrackPath(Vantor::Index track) const override
    {
        return Vantor::ioPath(ICDReader::CD_PATH_PREFIX) + m_drive +
               Vantor::ioPath(ICDReader::CD_TRACK_PREFIX + std::to_string(track) + ".cda");
    }

private:
    Vantor::RefCountImpl m_count;
    Vantor::ioPath m_drive;
};

class TestCreator final : public Vantor::Proc::IParserCreator
{
public:
    TestCreator() : IParserCreator("cda", "test-module") {}

    long AddRef() const override { return m_count.AddRefImpl(); }
    long GetRefCount() const override { return m_count.GetRefCountImpl(); }
    long Release() const override
    {
        const long left = m_count.ReleaseImpl();
        if (left == 0)
            delete this;
        return left;
    }

    bool IsExist() const override { return true; }
    Vantor::SP<Vantor::Proc::IParser> Create(const Vantor::SP<Vantor::Core::IDataInput>&,
                                             const Vantor::Proc::SettingsParser&,
                                             const Vantor::SP<Vantor::Proc::ICoreTracker>&) const override
    {
        VANTOR_THROW(Vantor::Proc::ParserException, << Vantor::ErrorDescription("The test module opens nothing."));
    }

private:
    Vantor::RefCountImpl m_count;
};

Vantor::SP<Vantor::Proc::ICDReader> CreateReader(const Vantor::ioPath& path)
{
    return Vantor::SP<Vantor::Proc::ICDReader>(new TestReader(path));
}

} // namespace

extern "C" __attribute__((visibility("default"))) void Registrator(Vantor::Proc::IPluginRegistry* registry)
{
    registry->RegisterParserCreator(Vantor::SP<Vantor::Proc::IParserCreator>(new TestCreator()));
    registry->RegisterCDReaderCreator(&CreateReader);
}
