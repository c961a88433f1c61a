#include "Vantor/Conf/IFormatFile.h"

#include "Vantor/Conf/FormatFile.h"

namespace Vantor {
namespace Conf {

SP<IFormatFile> IFormatFile::Create()
{
    return SP<IFormatFile>(new FormatFile());
}

const std::string IFormatFile::PARSER_LIBCUEIFY_IMPL = "libcueify";

const std::string IFormatFile::TAG_CONTAINER = "container";
const std::string IFormatFile::TAG_TITLE = "title";
const std::string IFormatFile::TAG_ARTIST = "artist";
const std::string IFormatFile::TAG_ALBUM = "album";
const std::string IFormatFile::TAG_ALBUM_ARTIST = "album_artist";
const std::string IFormatFile::TAG_COMMENT = "comment";
const std::string IFormatFile::TAG_COMPOSER = "composer";
const std::string IFormatFile::TAG_COPYRIGHT = "copyright";
const std::string IFormatFile::TAG_CREATION_TIME = "creation_time";
const std::string IFormatFile::TAG_DATE = "date";
const std::string IFormatFile::TAG_DISC = "disc";
const std::string IFormatFile::TAG_ENCODER = "encoder";
const std::string IFormatFile::TAG_ENCODED_BY = "encoded_by";
const std::string IFormatFile::TAG_ENCRYPTION = "encryption";
const std::string IFormatFile::TAG_GENRE = "genre";
const std::string IFormatFile::TAG_PERFORMER = "performer";
const std::string IFormatFile::TAG_PUBLISHER = "publisher";
const std::string IFormatFile::TAG_TRACK = "track";
const std::string IFormatFile::TAG_SERVICE_NAME = "service_name";
const std::string IFormatFile::TAG_SERVICE_PROVIDER = "service_provider";
const std::string IFormatFile::TAG_VARIANT_BITRATE = "variant_bitrate";
const std::string IFormatFile::TAG_FILENAME = "filename";
const std::string IFormatFile::TAG_FILE_EXTENSION = "file_extension";
const std::string IFormatFile::TAG_FORMAT_FILE_SIZE = "format_file_size";

} // namespace Conf
} // namespace Vantor
