// Where a host collects reports of failures, whether or not it later catches the exception.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"

#include <string>

namespace Vantor {
namespace Proc {

class VANTOR_API ICoreTracker : public virtual IRefCountable
{
public:
    virtual void ReportException(const std::string& eventKey, const std::string& message,
                                 const std::string& source) = 0;

    // A file or track could not be opened.
    static const std::string CORE_EXCEPTION_FILE_OPEN;
};

} // namespace Proc
} // namespace Vantor
