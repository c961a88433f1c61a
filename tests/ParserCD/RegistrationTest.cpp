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
// parser factory for the format "full" is kept apart and refused with an exception.
class RecordingRegistry : public Vantor::Proc::IPluginRegistry
{
public:
    void RegisterParserCreator(const SP<IParserCreator>& creator) override
    {
        if (creator->GetFormatName() == "full") {
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
    SP<IParserCreator> refused;
};

using Registration = FakeDiscTest;

TEST_F(Registration, ReaderCreatorComesFirstThenOneFactoryPerListedNameThatExistsWithoutADisc)
{
    Vantor::Conf::SetCDFormatList({"cda", "cdda", "cda"});
    RecordingRegistry registry;
    Registrator(&registry);
    ASSERT_EQ(registry.factories.size(), 4u);
    EXPECT_FALSE(registry.factories[0]);
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(registry.factories[i]->GetFormatName(), i == 2 ? "cdda" : "cda");
        EXPECT_EQ(registry.factories[i]->GetImplName(), Vantor::Conf::IFormatFile::PARSER_LIBCUEIFY_IMPL);
        EXPECT_EQ(registry.factories[i]->GetRefCount(), 1); // the registry's alone
        EXPECT_TRUE(registry.factories[i]->IsExist());
    }
    EXPECT_TRUE(disc.calls().empty());

    // A registry that throws: the exception passes, earlier factories stay, the refused one is released.
    Vantor::Conf::SetCDFormatList({"cda", "full", "cdx"});
    RecordingRegistry full;
    EXPECT_EQ(FailureOf([&] { Registrator(&full); }), "length_error \"registry full\"");
    ASSERT_EQ(full.factories.size(), 2u);
    ASSERT_TRUE(full.refused);
    EXPECT_EQ(std::vector<long>({full.factories[1]->GetRefCount(), full.refused->GetRefCount()}),
              std::vector<long>({1, 1}));
}

// The registered factory and the module's entry point open tracks alike; neither is needed by a
// parser once it is open.
TEST_F(Registration, FactoryReportsAnOpenFailureToTheTrackerItIsGivenAndOpensAsTheEntryPointDoes)
{
    disc.setDisc(AudioDisc({40, 15040}));
    RecordingRegistry registry; // of the host's own list, "cda"
    Registrator(&registry);
    SP<IParserCreator> factory = registry.factories.back();
    registry.factories.clear();
    EXPECT_THROW(factory->Create(DataInputPath::Create("/music/Track01.wav"), {}, tracker),
                 Vantor::Proc::ParserException);
    EXPECT_EQ(tracker->reports, FileOpenReport("Can't open file: unsupported file extension wav found"));

    const SP<IParser> created = factory->Create(DataInputPath::Create(TrackPath("2")), {}, nullptr);
    const SP<IParser> direct = CreateParserCD(DataInputPath::Create(TrackPath("2")), {}, nullptr);
    factory.reset();
    EXPECT_TRUE(created->Read() && direct->Read());
    EXPECT_EQ(disc.readAddresses(), (std::vector<uint32_t>{40, 40}));
}

} // namespace
