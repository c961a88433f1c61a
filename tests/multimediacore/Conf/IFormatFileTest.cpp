#include "Vantor/Conf/IFormatFile.h"

#include <gtest/gtest.h>

#include <set>

using Vantor::Conf::IFormatFile;

TEST(IFormatFile, CreateGivesAnEmptyNodeWithOneReference)
{
    const Vantor::SP<IFormatFile> file = IFormatFile::Create();
    EXPECT_EQ(file->GetRefCount(), 1);
    EXPECT_EQ(file->GetProperty().GetType(), Vantor::PROPERTY_TYPE_NODE);
    EXPECT_TRUE(file->GetProperty().GetChildren().empty());
    EXPECT_EQ(file->GetVantorSpecificMetadata(), "");
}

TEST(IFormatFile, KeepsTagsAndMetadata)
{
    const Vantor::SP<IFormatFile> file = IFormatFile::Create();
    file->GetProperty().SetChildT<std::string>(IFormatFile::TAG_TRACK, "12");
    file->SetVantorSpecificMetadata("meta");
    const IFormatFile& constFile = *file;
    EXPECT_EQ(constFile.GetProperty().FindChild(IFormatFile::TAG_TRACK)->GetString(), "12");
    EXPECT_EQ(constFile.GetVantorSpecificMetadata(), "meta");
}

// SetChildT keys children by name: two tags with one text would overwrite each other.
TEST(IFormatFile, TagNamesAreDistinct)
{
    const std::set<std::string> tags{IFormatFile::TAG_CONTAINER,
                                     IFormatFile::TAG_TITLE,
                                     IFormatFile::TAG_ARTIST,
                                     IFormatFile::TAG_ALBUM,
                                     IFormatFile::TAG_ALBUM_ARTIST,
                                     IFormatFile::TAG_COMMENT,
                                     IFormatFile::TAG_COMPOSER,
                                     IFormatFile::TAG_COPYRIGHT,
                                     IFormatFile::TAG_CREATION_TIME,
                                     IFormatFile::TAG_DATE,
                                     IFormatFile::TAG_DISC,
                                     IFormatFile::TAG_ENCODER,
                                     IFormatFile::TAG_ENCODED_BY,
                                     IFormatFile::TAG_ENCRYPTION,
                                     IFormatFile::TAG_GENRE,
                                     IFormatFile::TAG_PERFORMER,
                                     IFormatFile::TAG_PUBLISHER,
                                     IFormatFile::TAG_TRACK,
                                     IFormatFile::TAG_SERVICE_NAME,
                                     IFormatFile::TAG_SERVICE_PROVIDER,
                                     IFormatFile::TAG_VARIANT_BITRATE,
                                     IFormatFile::TAG_FILENAME,
                                     IFormatFile::TAG_FILE_EXTENSION,
                                     IFormatFile::TAG_FORMAT_FILE_SIZE};
    EXPECT_EQ(tags.size(), 24u);
    EXPECT_EQ(tags.count(""), 0u);
}
