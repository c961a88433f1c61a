// The container description behind IFormatFile::Create.
#pragma once

#include "Vantor/Conf/IFormatFile.h"

namespace Vantor {
namespace Conf {

class FormatFile final : public RefCounted<IFormatFile>
{
public:
    FormatFile() = default;

    Core::Property& GetProperty() override { return m_property; }
    const Core::Property& GetProperty() const override { return m_property; }

    void SetVantorSpecificMetadata(const std::string& metadata) override { m_metadata = metadata; }
    const std::string& GetVantorSpecificMetadata() const override { return m_metadata; }

private:
    Core::Property m_property;
    std::string m_metadata;
};

} // namespace Conf
} // namespace Vantor
