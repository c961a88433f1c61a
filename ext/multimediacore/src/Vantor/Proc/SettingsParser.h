// Settings a host passes when it creates a parser.
#pragma once

#include "Vantor/Core/Interfaces/Property.h"

namespace Vantor {
namespace Proc {

struct SettingsParser
{
    Core::Property options;
};

} // namespace Proc
} // namespace Vantor
