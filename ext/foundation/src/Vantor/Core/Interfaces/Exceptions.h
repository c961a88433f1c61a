// The host framework's exception classes. They carry no data of their own: everything that
// describes a failure is attached as error information (ErrorInfo.h), and every throw goes
// through VANTOR_THROW (Throw.h).
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/Types.h"

#include <boost/exception/error_info.hpp>
#include <boost/exception/exception.hpp>

#include <exception>
#include <string>

namespace Vantor {

class VANTOR_API Exception : public virtual std::exception, public virtual boost::exception
{
public:
    Exception() = default;
    ~Exception() override;
};

namespace Proc {

class VANTOR_API ProcException : public virtual Vantor::Exception
{
public:
    ProcException() = default;
    ~ProcException() override;
};

class VANTOR_API CDReaderException : public virtual ProcException
{
public:
    CDReaderException() = default;
    ~CDReaderException() override;
};

class VANTOR_API ParserException : public virtual ProcException
{
public:
    ParserException() = default;
    ~ParserException() override;
};

} // namespace Proc

namespace Core {

class VANTOR_API CoreException : public virtual Vantor::Exception
{
public:
    CoreException() = default;
    ~CoreException() override;
};

class VANTOR_API PropertyException : public virtual CoreException
{
public:
    // Tag types: the diagnostic text names them, so their names are part of the interface.
    struct TagPropertyName;
    struct TagPropertyType;
    struct TagMethodName;

    typedef boost::error_info<TagPropertyName, std::string> ErrorPropertyName;
    typedef boost::error_info<TagPropertyType, PropertyTypes> ErrorPropertyType;
    typedef boost::error_info<TagMethodName, std::string> ErrorMethodName;

    PropertyException() = default;
    ~PropertyException() override;
};

class VANTOR_API MethodIsNotApplicable : public PropertyException
{
public:
    MethodIsNotApplicable() = default;
    ~MethodIsNotApplicable() override;
};

} // namespace Core
} // namespace Vantor
