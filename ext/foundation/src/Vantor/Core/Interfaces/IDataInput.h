// Inputs that hosts hand to parsers.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"
#include "Vantor/Core/Interfaces/ioPath.h"

#include <cstddef>

namespace Vantor {
namespace Core {

class VANTOR_API IDataInput : public virtual IRefCountable
{
public:
    virtual ioPath GetPath() const = 0;

    // Reads up to size bytes; fewer at the end of the data, 0 past it. Never throws at the end.
    virtual size_t Read(void* buffer, size_t size) = 0;
};

// A file opened for reading when it is created.
class VANTOR_API DataInputFile : public IDataInput
{
public:
    // Throws Vantor::Exception, describing the path, when the file cannot be opened.
    static SP<IDataInput> Create(const ioPath& path);
};

// An input that is only a name: a track path, which names no file. Reading it yields nothing.
class VANTOR_API DataInputPath : public IDataInput
{
public:
    static SP<IDataInput> Create(const ioPath& path);
};

} // namespace Core
} // namespace Vantor
