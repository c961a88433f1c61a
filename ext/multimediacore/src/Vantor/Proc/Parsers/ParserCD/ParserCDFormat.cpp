// How an opened track describes itself to the host: one container holding one PCM stream.
#include "ParserCD.h"

#include <boost/algorithm/string/case_conv.hpp>
#include <discgeometry/DiscGeometry.h>

#include <locale>

namespace {

using Vantor::Conf::IFormatCodec;
using Vantor::Conf::IFormatCodecAudio;
using Vantor::Conf::IFormatFile;

constexpr long long kBitRate = 1411200;                 // 44,100 Hz × 16 bits × 2 channels
constexpr long long kBitsPerByteMicroseconds = 8000000; // 8 bits × 1,000,000 µs

// The extension, lower case and without its dot. Throws std::out_of_range when there is none.
std::string ContainerName(const Vantor::ioPath& path)
{
    return boost::algorithm::to_lower_copy(path.extension().utf8string(), std::locale()).substr(1);
}

// A track file carries no metadata but its number; the rest is present and empty.
const std::string* const kEmptyTagsBeforeTrack[] = {
    &IFormatFile::TAG_TITLE,        &IFormatFile::TAG_ARTIST,        &IFormatFile::TAG_ALBUM,
    &IFormatFile::TAG_ALBUM_ARTIST, &IFormatFile::TAG_COMMENT,       &IFormatFile::TAG_COMPOSER,
    &IFormatFile::TAG_COPYRIGHT,    &IFormatFile::TAG_CREATION_TIME, &IFormatFile::TAG_DATE,
    &IFormatFile::TAG_DISC,         &IFormatFile::TAG_ENCODER,       &IFormatFile::TAG_ENCODED_BY,
    &IFormatFile::TAG_ENCRYPTION,   &IFormatFile::TAG_GENRE,         &IFormatFile::TAG_PERFORMER,
    &IFormatFile::TAG_PUBLISHER};

const std::string* const kEmptyTagsAfterTrack[] = {
    &IFormatFile::TAG_SERVICE_NAME, &IFormatFile::TAG_SERVICE_PROVIDER, &IFormatFile::TAG_VARIANT_BITRATE};

} // namespace

namespace Vantor {
namespace Proc {

int64_t ParserCD::GetSize() const
{
    return m_duration * kBitRate / kBitsPerByteMicroseconds;
}

SP<Conf::IFormatFile> ParserCD::GetFormatFile() const
{
    return m_formatFile;
}

SP<Conf::IFormatCodec> ParserCD::GetStreamExtInfo(Index) const
{
    return m_formatCodec;
}

Core::Property ParserCD::GetStatistic() const
{
    return Core::Property("Source", m_path.utf8string());
}

void ParserCD::CreateFormatCodec()
{
    m_formatCodec = IFormatCodecAudio::Create();
    const std::string container = ContainerName(m_path);

    Core::Property settings = m_formatCodec->GetStreamSettings();
    settings.SetChildT<long long>(IFormatCodec::TAG_STREAM_ID, 0);
    m_formatCodec->SetStreamSettings(settings);

    Core::Property& codec = m_formatCodec->GetProperty();
    codec.SetChildT<long long>(IFormatCodecAudio::TAG_FRAME_SIZE, 0);
    codec.SetChildT<long long>(IFormatCodecAudio::TAG_INITIAL_PADDING, 0);
    codec.SetChildT<std::string>(IFormatCodec::TAG_CODEC_ID, IFormatCodecAudio::CODEC_ID_PCM_S16LE);
    codec.SetChildT<std::string>(IFormatCodec::TAG_CONTAINER_NAME, container);
    codec.SetChildT<bool>(IFormatCodec::TAG_GLOBAL_HEADER, false);
    codec.SetChildT<long long>(IFormatCodecAudio::TAG_SAMPLE_RATE, discgeometry::kSampleRate);
    m_formatCodec->SetChannelLayout(Conf::CHANNEL_LAYOUT_STEREO);
    codec.SetChildT<std::string>(IFormatCodec::TAG_BITRATE_MODE, IFormatCodec::TAG_BITRATE_MODE_CBR);
    codec.SetChildT<long long>(IFormatCodec::TAG_BITRATE, kBitRate);
    m_formatCodec->SetSampleFormat(Conf::SAMPLE_FORMAT_S16);
    codec.SetChildT<bool>(IFormatCodec::TAG_MAIN_STREAM, true);
    codec.SetChildT<bool>(IFormatCodec::TAG_DEFAULT_STREAM, true);
}

void ParserCD::CreateFormatFile()
{
    m_formatFile = IFormatFile::Create();
    const std::string container = ContainerName(m_path);

    Core::Property& file = m_formatFile->GetProperty();
    file.SetChildT<std::string>(IFormatFile::TAG_CONTAINER, container);
    for (const std::string* tag : kEmptyTagsBeforeTrack)
        file.SetChildT<std::string>(*tag, std::string());
    file.SetChildT<std::string>(IFormatFile::TAG_TRACK, std::to_string(m_track));
    for (const std::string* tag : kEmptyTagsAfterTrack)
        file.SetChildT<std::string>(*tag, std::string());
    file.SetChildT<std::string>(IFormatFile::TAG_FILENAME, m_path.utf8string());
    file.SetChildT<std::string>(IFormatFile::TAG_FILE_EXTENSION, container);
    file.SetChildT<long long>(IFormatFile::TAG_FORMAT_FILE_SIZE, GetSize());
    m_formatFile->SetVantorSpecificMetadata("");
}

} // namespace Proc
} // namespace Vantor
