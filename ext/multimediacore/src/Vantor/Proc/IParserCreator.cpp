#include "Vantor/Proc/IParserCreator.h"

namespace Vantor {
namespace Proc {

IParserCreator::~IParserCreator() = default;

} // namespace Proc
} // namespace Vantor
