// Lists an audio CD from its table of contents, read once when the reader is created.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"
#include "Vantor/Core/Interfaces/ioPath.h"
#include "Vantor/Proc/ICDReader.h"

#include <cueify/cueify.h>

#include <cstdint>
#include <memory>

namespace Vantor {
namespace Proc {

class VANTOR_API CDReader : public virtual ICDReader
{
public:
    // A reader of the disc behind path, already open. Throws CDReaderException when the disc
    // cannot be read.
    static SP<ICDReader> Create(const ioPath& path);

    // Whether the disc behind path can be opened and its table of contents read. Never throws.
    static bool IsCDPath(const ioPath& path);

    explicit CDReader(const ioPath& path);
    ~CDReader() override;

    // Reads the table of contents. Throws CDReaderException when the disc cannot be read.
    void Open();

    long AddRef() const override { return m_refCount.AddRefImpl(); }
    long GetRefCount() const override { return m_refCount.GetRefCountImpl(); }
    long Release() const override
    {
        const long count = m_refCount.ReleaseImpl();
        if (count == 0)
            delete this;
        return count;
    }

    avTime GetDiskDuration() const override;
    Index GetTrackCount() const override;
    // Throw CDReaderException for a track outside 1..GetTrackCount().
    avTime GetTrackDuration(Index track) const override;
    ioPath GetTrackPath(Index track) const override;

private:
    RefCountImpl m_refCount;
    std::shared_ptr<cueify_full_toc> m_toc;
    ioPath m_drivePath;
    uint32_t m_trackCount = 0;
};

} // namespace Proc
} // namespace Vantor
