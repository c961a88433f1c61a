// What every registered implementation says about itself.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"

#include <string>

namespace Vantor {
namespace Proc {

class VANTOR_API IImplInfo : public IRefCountable
{
public:
    IImplInfo(const std::string& formatName, const std::string& implName);
    ~IImplInfo() override;

    // Whether the implementation can work on this machine.
    virtual bool IsExist() const = 0;

    const std::string& GetFormatName() const noexcept { return m_formatName; }
    const std::string& GetImplName() const noexcept { return m_implName; }
    bool GetFlag() const noexcept { return m_flag; }

private:
    bool m_flag = false;
    std::string m_formatName;
    std::string m_implName;
};

} // namespace Proc
} // namespace Vantor
