#include "ParserCDFixture.h"

#include "Vantor/Proc/IPluginRegistry.h"
#include "Vantor/Proc/Parsers/ParserCD/CDReader.h"
#include "Vantor/Proc/Parsers/ParserCD/PluginEntry.h"

namespace {

using namespace cdtest;
using Vantor::Core::DataInputPath;
using Vantor::Proc::IParser;
using Vantor::Proc::IParserCreator;

// Keeps what the plug-in registers, in order; the disc-reader creator as a null factory. The
// parser factory numbered failAt is kept apart and refused with an exception.
class RecordingRegistry : public Vantor::Proc::IPluginRegistry
{
public:
    void RegisterParserCreator(const SP<IParserCreator>& creator) override
    {
        if (factories.size() == failAt) {
            refused = creator;
            throw std::length_error("registry full");
        }
        factories.push_back(creator);
    }
    void RegisterCDReaderCreator(Vantor::Proc::CDReaderCreator creator) override
    {
        EXPECT_EQ(creator, &Vantor::Proc::CDReader::Create);
        factories.emplace_back(nullptr);
    }

    std::vector<SP<IParserCreator>> factories;
    size_t failAt = SIZE_MAX;
    SP<IParserCreator> refused;
};

std::vector<SP<IParserCreator>> Register(const std::vector<std::string>& formats)
{
    Vantor::Conf::SetCDFormatList(formats);
    RecordingRegistry registry;
    Registrator(&registry);
    return registry.factories;
}

using Registration = FakeDiscTest;

TEST_F(Registration, ReaderCreatorComesFirstThenOneFactoryPerListedNameThatExistsWithoutADisc)
{
    EXPECT_EQ(Register({}), std::vector<SP<IParserCreator>>{nullptr});
    const std::vector<SP<IParserCreator>> factories = Register({"cda", "cdda", "cda"});
    ASSERT_EQ(factories.size(), 4u);
    EXPECT_NE(factories[1], factories[3]);
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(factories[i]->GetFormatName(), i == 2 ? "cdda" : "cda");
        EXPECT_EQ(factories[i]->GetImplName(), Vantor::Conf::IFormatFile::PARSER_LIBCUEIFY_IMPL);
        EXPECT_EQ(factories[i]->GetRefCount(), 1); // the registry's alone
        EXPECT_TRUE(factories[i]->IsExist());
    }
    EXPECT_TRUE(disc.calls().empty());
}

TEST_F(Registration, RegistryThatThrowsGetsItsExceptionThroughKeepsEarlierFactoriesAndTheRefusedOneIsReleased)
{
    Vantor::Conf::SetCDFormatList({"cda", "cdda", "cdx"});
    RecordingRegistry registry;
    registry.failAt = 2;
    try {
        Registrator(&registry);
        ADD_FAILURE() << "nothing thrown";
    } catch (const std::length_error& e) {
        EXPECT_STREQ(e.what(), "registry full");
    }
    ASSERT_EQ(registry.factories.size(), 2u);
    ASSERT_TRUE(registry.refused);
    EXPECT_EQ(registry.factories[1]->GetFormatName() + " " + registry.refused->GetFormatName(), "cda cdda");
    EXPECT_EQ(std::vector<long>({registry.factories[1]->GetRefCount(), registry.refused->GetRefCount()}),
              std::vector<long>({1, 1}));
}

TEST_F(Registration,
       FactoryReportsToItsTrackerSurvivesAFailedCreateAndMakesIndependentParsersWhateverTheSettings)
{
    fake::FakeDisc badFirstTrack = AudioDisc({40, 15040});
    badFirstTrack.tracks[0].address = {0, 1, 74}; // before logical block 0
    disc.setDisc(badFirstTrack);
    SP<IParserCreator> factory = Register({"cda"}).back();
    EXPECT_THROW(factory->Create(DataInputPath::Create(TrackPath("1")), {}, nullptr),
                 Vantor::Proc::ParserException);
    EXPECT_THROW(factory->Create(DataInputPath::Create("/music/Track01.wav"), {}, tracker),
                 Vantor::Proc::ParserException);
    EXPECT_EQ(tracker->reports, FileOpenReport("Can't open file: unsupported file extension wav found"));

    Vantor::Proc::SettingsParser settings;
    settings.options.SetChildT<long long>("start", 1000000);
    SP<IParser> first = factory->Create(DataInputPath::Create(TrackPath("2")), {}, nullptr);
    const SP<IParser> second = factory->Create(DataInputPath::Create(TrackPath("2")), settings, nullptr);
    const SP<IParser> direct = CreateParserCD(DataInputPath::Create(TrackPath("2")), settings, nullptr);
    factory.reset();
    first->Read();
    first->Read();
    EXPECT_EQ(second->Read()->GetPts(), 0);
    EXPECT_EQ(direct->Read()->GetPts(), 0);
    EXPECT_EQ(ReadAddresses(), (std::vector<uint32_t>{40, 41, 40, 40}));
    first.reset();
    EXPECT_TRUE(second->Read());
    EXPECT_EQ(std::vector<long long>({second->GetDuration(), second->GetSize(), direct->GetSize()}),
              std::vector<long long>({200000000, 35280000, 35280000}));
}

} // namespace
