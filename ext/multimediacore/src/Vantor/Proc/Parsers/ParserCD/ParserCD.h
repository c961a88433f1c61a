// The parser of one audio track of a CD: opened from a track path or a .cda track file,
// it delivers the track's raw sectors as PCM packets.
#pragma once

#include "Vantor/Conf/IFormatCodecAudio.h"
#include "Vantor/Conf/IFormatFile.h"
#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"
#include "Vantor/Core/Interfaces/ioPath.h"
#include "Vantor/Proc/ICoreTracker.h"
#include "Vantor/Proc/IParser.h"
#include "Vantor/Proc/SettingsParser.h"

#include <cueify/cueify.h>

#include <cstdint>
#include <memory>
#include <string>

namespace Vantor {
namespace Proc {

class VANTOR_API ParserCD : public IParser
{
public:
    // The one place parsers are made: an opened parser, or the exception Open threw.
    static SP<IParser> Create(const SP<Core::IDataInput>& input, const SettingsParser& settings,
                              const SP<ICoreTracker>& tracker);

    explicit ParserCD(const SP<ICoreTracker>& tracker);
    ~ParserCD() override;

    // Checks the input, finds the drive, reads the table of contents and describes the track.
    // Throws ParserException, CDReaderException or Vantor::Exception, and std::stoi's exception
    // for a track path whose number has no digits or does not fit an int.
    void Open(const SP<Core::IDataInput>& input);

    long AddRef() const override { return m_refCount.AddRefImpl(); }
    long GetRefCount() const override { return m_refCount.GetRefCountImpl(); }
    long Release() const override
    {
        const long count = m_refCount.ReleaseImpl();
        if (count == 0)
            delete this;
        return count;
    }

    avTime GetDuration() const override { return m_duration; }
    avTime GetStreamDuration(Index) const override { return m_duration; }
    int64_t GetSize() const override;
    SP<Conf::IFormatFile> GetFormatFile() const override;
    Index GetStreamCount() const override { return 1; }
    MediaType GetStreamType(Index) const override { return MEDIA_TYPE_AUDIO; }
    SP<Conf::IFormatCodec> GetStreamExtInfo(Index stream) const override;
    Index GetSeekStream() override { return 0; }
    Core::Property GetStatistic() const override;
    // Throws Vantor::Exception for a time outside 0..duration or a stream other than 0.
    void Seek(Index stream, avTime time) override;
    SP<IDataPacket> Read() override;

    // Tells the tracker, when there is one, that the input could not be opened.
    void TrackException(const std::string& message, const std::string& source) const;

private:
    void CreateFormatCodec();
    void CreateFormatFile();

    RefCountImpl m_refCount;
    std::shared_ptr<cueify_full_toc> m_toc;
    std::shared_ptr<cueify_device> m_device;
    ioPath m_path;
    uint32_t m_currentSector = 0; // next sector to read, counted from m_firstSector
    uint32_t m_sectorCount = 0;
    uint32_t m_firstSector = 0; // logical block address of the track's first sector
    avTime m_duration = 0;
    avTime m_sectorDuration = 0;
    uint32_t m_track = 0xFFFFFFFF;
    SP<Conf::IFormatFile> m_formatFile;
    SP<Conf::IFormatCodecAudio> m_formatCodec;
    SP<ICoreTracker> m_tracker;
};

} // namespace Proc
} // namespace Vantor
