// Property trees as indented text: a node's name on a line of its own with its children two
// spaces further in; a leaf as "name: value", strings in double quotes.
#pragma once

#include "Vantor/Core/Interfaces/Property.h"

#include <ostream>

namespace vantorcd {

// Prints the children of node at the given indent (the node's own name is the caller's heading).
void printPropertyChildren(std::ostream& out, const Vantor::Core::Property& node, int indent);

} // namespace vantorcd
