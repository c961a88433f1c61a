#include "FakeTrack.h"

#include "Vantor/Conf/CDFormats.h"
#include "Vantor/Conf/IFormatFile.h"
#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Proc/IPluginRegistry.h"
#include "Vantor/Proc/Parsers/ParserCD/CDReader.h"
#include "Vantor/Proc/Parsers/ParserCD/PluginEntry.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using faketrack::ReadAddresses;
using Vantor::SP;
using Vantor::Proc::IParser;
using Vantor::Proc::IParserCreator;

// Keeps what the plug-in registers, in order, and the factory's reference count at the call.
class RecordingRegistry : public Vantor::Proc::IPluginRegistry
{
public:
    struct Entry
    {
        Vantor::Proc::CDReaderCreator reader = nullptr;
        SP<IParserCreator> parserCreator;
        long countAtCall = 0;
    };

    void RegisterParserCreator(const SP<IParserCreator>& creator) override
    {
        const long countAtCall = creator->GetRefCount(); // before the entry takes its own reference
        entries.push_back({nullptr, creator, countAtCall});
        if (throwOnParserCreator == static_cast<int>(entries.size()))
            throw std::runtime_error("registry full");
    }

    void RegisterCDReaderCreator(Vantor::Proc::CDReaderCreator creator) override
    {
        entries.push_back({creator, nullptr, 0});
    }

    std::vector<std::string> FormatNames() const
    {
        std::vector<std::string> names;
        for (const Entry& entry : entries)
            if (entry.parserCreator)
                names.push_back(entry.parserCreator->GetFormatName());
        return names;
    }

    std::vector<Entry> entries;
    int throwOnParserCreator = 0; // the position of the entry whose registration throws
};

class Registration : public faketrack::FakeDiscTest
{
protected:
    void SetUp() override
    {
        FakeDiscTest::SetUp();
        m_savedFormats = Vantor::Conf::GetCDFormatList();
    }
    void TearDown() override
    {
        Vantor::Conf::SetCDFormatList(m_savedFormats);
        FakeDiscTest::TearDown();
    }

    SP<IParserCreator> RegisteredFactory()
    {
        Vantor::Conf::SetCDFormatList({"cda"});
        Registrator(&registry);
        return registry.entries.back().parserCreator;
    }

    RecordingRegistry registry;

private:
    std::vector<std::string> m_savedFormats;
};

TEST_F(Registration, ReaderCreatorComesFirstThenOneFactoryPerNameInListOrder)
{
    Vantor::Conf::SetCDFormatList({"cda", "cdda", "aiff"});
    Registrator(&registry);
    ASSERT_EQ(registry.entries.size(), 4u);
    EXPECT_EQ(registry.entries[0].reader, &Vantor::Proc::CDReader::Create);
    EXPECT_FALSE(registry.entries[0].parserCreator);
    EXPECT_EQ(registry.FormatNames(), (std::vector<std::string>{"cda", "cdda", "aiff"}));
}

TEST_F(Registration, EmptyFormatListRegistersOnlyTheReaderCreator)
{
    Vantor::Conf::SetCDFormatList({});
    Registrator(&registry);
    ASSERT_EQ(registry.entries.size(), 1u);
    EXPECT_EQ(registry.entries[0].reader, &Vantor::Proc::CDReader::Create);
}

TEST_F(Registration, NameListedTwiceGetsTwoFactories)
{
    Vantor::Conf::SetCDFormatList({"cda", "cda"});
    Registrator(&registry);
    ASSERT_EQ(registry.FormatNames(), (std::vector<std::string>{"cda", "cda"}));
    EXPECT_NE(registry.entries[1].parserCreator, registry.entries[2].parserCreator);
}

TEST_F(Registration, RegistryHoldsTheOnlyReferenceOnceRegistrationReturns)
{
    const SP<IParserCreator> factory = RegisteredFactory();
    EXPECT_EQ(registry.entries.back().countAtCall, 1); // the plug-in's own handle
    registry.entries.clear();
    EXPECT_EQ(factory->GetRefCount(), 1);
}

TEST_F(Registration, FailingRegistryPassesItsExceptionAndKeepsEarlierFactories)
{
    Vantor::Conf::SetCDFormatList({"cda", "cdda", "aiff"});
    registry.throwOnParserCreator = 3;
    EXPECT_THROW(Registrator(&registry), std::runtime_error);
    ASSERT_EQ(registry.FormatNames(), (std::vector<std::string>{"cda", "cdda"}));
    EXPECT_EQ(registry.entries[2].parserCreator->GetRefCount(), 1); // the plug-in let go of it
}

TEST_F(Registration, FactoryDescribesTheCDParserAndExistsWithoutADisc)
{
    const SP<IParserCreator> factory = RegisteredFactory();
    EXPECT_EQ(factory->GetFormatName(), "cda");
    EXPECT_EQ(factory->GetImplName(), Vantor::Conf::IFormatFile::PARSER_LIBCUEIFY_IMPL);
    EXPECT_FALSE(factory->GetFlag());
    EXPECT_TRUE(factory->IsExist());
    EXPECT_TRUE(disc.calls().empty());
}

TEST_F(Registration, FailedCreateLeavesNoParserAndTheFactoryStillWorks)
{
    fake::FakeDisc badStart = faketrack::AudioDisc(0, {100, 200});
    badStart.tracks[0].address = {0, 1, 74}; // before logical block 0
    disc.setDisc(badStart);
    const SP<IParserCreator> factory = RegisteredFactory();

    EXPECT_THROW(factory->Create(faketrack::TrackInput(1), {}, nullptr), Vantor::Proc::ParserException);
    ExpectEverythingFreed();

    SP<IParser> parser = factory->Create(faketrack::TrackInput(2), {}, nullptr);
    ASSERT_TRUE(parser);
    EXPECT_EQ(parser->GetRefCount(), 1);
    EXPECT_TRUE(parser->Read());
    EXPECT_EQ(ReadAddresses(), std::vector<uint32_t>{100});
}

TEST_F(Registration, ParsersOfOneTrackAreIndependentAndOutliveTheirFactory)
{
    disc.setDisc(faketrack::AudioDisc(0, {40, 60}));
    SP<IParserCreator> factory = RegisteredFactory();
    SP<IParser> first = factory->Create(faketrack::TrackInput(2), {}, nullptr);
    SP<IParser> second = factory->Create(faketrack::TrackInput(2), {}, nullptr);
    ASSERT_NE(first, second);
    registry.entries.clear();
    factory.reset();

    first->Read();
    first->Read();
    second->Read();
    EXPECT_EQ(ReadAddresses(), (std::vector<uint32_t>{40, 41, 40}));
    first.reset();
    EXPECT_TRUE(second->Read());
    second.reset();
    ExpectEverythingFreed();
}

TEST_F(Registration, SettingsChangeNothingInTheParserMade)
{
    disc.setDisc(faketrack::AudioDisc(0, {40, 15040}));
    const SP<IParserCreator> factory = RegisteredFactory();
    Vantor::Proc::SettingsParser settings;
    settings.options.SetChildT<long long>("start", 1000000);
    settings.options.SetChildT<std::string>("format", "wav");

    const SP<IParser> plain = factory->Create(faketrack::TrackInput(2), {}, nullptr);
    const SP<IParser> configured = factory->Create(faketrack::TrackInput(2), settings, nullptr);
    const SP<IParser> direct = CreateParserCD(faketrack::TrackInput(2), settings, nullptr);
    for (const SP<IParser>& parser : {configured, direct}) {
        EXPECT_EQ(parser->GetDuration(), plain->GetDuration());
        EXPECT_EQ(parser->GetSize(), plain->GetSize());
        const SP<Vantor::Proc::IDataPacket> packet = parser->Read();
        ASSERT_TRUE(packet);
        EXPECT_EQ(packet->GetPts(), 0);
    }
    EXPECT_EQ(ReadAddresses(), (std::vector<uint32_t>{40, 40}));
}

} // namespace
