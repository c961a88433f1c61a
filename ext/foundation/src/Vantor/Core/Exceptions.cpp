// Out-of-line destructors: they anchor each class's type information in this library, so that
// hosts and plug-ins catch the same classes across module boundaries.
#include "Vantor/Core/Interfaces/Exceptions.h"

namespace Vantor {

Exception::~Exception() = default;

namespace Proc {

ProcException::~ProcException() = default;
CDReaderException::~CDReaderException() = default;
ParserException::~ParserException() = default;

} // namespace Proc

namespace Core {

CoreException::~CoreException() = default;
PropertyException::~PropertyException() = default;
MethodIsNotApplicable::~MethodIsNotApplicable() = default;

} // namespace Core
} // namespace Vantor
