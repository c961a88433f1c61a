// A minimal plug-in module: one parser factory for "cda", which refuses every input, and a
// disc-reader creator whose reader names its tracks with the host's track-path scheme.
#include "Vantor/Core/Interfaces/Throw.h"
#include "Vantor/Proc/IPluginRegistry.h"

#include <string>

using namespace Vantor;

namespace {

class TestReader final : public RefCounted<Proc::ICDReader>
{
public:
    explicit TestReader(const ioPath& drive) : m_drive(drive) {}

    avTime GetDiskDuration() const override { return 0; }
    Index GetTrackCount() const override { return 1; }
    avTime GetTrackDuration(Index) const override { return 0; }
    ioPath GetTrackPath(Index track) const override
    {
        return ioPath(CD_PATH_PREFIX) + m_drive + ioPath(CD_TRACK_PREFIX + std::to_string(track) + ".cda");
    }

private:
    ioPath m_drive;
};

class TestCreator final : public RefCounted<Proc::IParserCreator>
{
public:
    TestCreator() : RefCounted("cda", "test-module") {}

    bool IsExist() const override { return true; }
    SP<Proc::IParser> Create(const SP<Core::IDataInput>&, const Proc::SettingsParser&,
                             const SP<Proc::ICoreTracker>&) const override
    {
        VANTOR_THROW(Proc::ParserException, << ErrorDescription("The test module opens nothing."));
    }
};

SP<Proc::ICDReader> CreateReader(const ioPath& path)
{
    return SP<Proc::ICDReader>(new TestReader(path));
}

} // namespace

extern "C" __attribute__((visibility("default"))) void Registrator(Proc::IPluginRegistry* registry)
{
    registry->RegisterParserCreator(SP<Proc::IParserCreator>(new TestCreator()));
    registry->RegisterCDReaderCreator(&CreateReader);
}
