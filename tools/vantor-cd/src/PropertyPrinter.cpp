#include "PropertyPrinter.h"

#include <string>

namespace vantorcd {
namespace {

std::string valueText(const Vantor::Core::Property& leaf)
{
    switch (leaf.GetType()) {
    case Vantor::PROPERTY_TYPE_INTEGER:
        return std::to_string(leaf.GetInteger());
    case Vantor::PROPERTY_TYPE_STRING:
        return "\"" + leaf.GetString() + "\"";
    case Vantor::PROPERTY_TYPE_BOOL:
        return leaf.GetBool() ? "true" : "false";
    case Vantor::PROPERTY_TYPE_DOUBLE:
        return "(a number)";
    case Vantor::PROPERTY_TYPE_BINARY:
        return "(binary data)";
    default:
        return "(empty)";
    }
}

void printProperty(std::ostream& out, const Vantor::Core::Property& property, int indent)
{
    const std::string margin(static_cast<size_t>(indent), ' ');
    if (property.GetType() == Vantor::PROPERTY_TYPE_NODE) {
        out << margin << property.GetName() << "\n";
        printPropertyChildren(out, property, indent + 2);
        return;
    }
    out << margin << property.GetName() << ": " << valueText(property) << "\n";
}

} // namespace

void printPropertyChildren(std::ostream& out, const Vantor::Core::Property& node, int indent)
{
    for (const Vantor::Core::Property& child : node.GetChildren())
        printProperty(out, child, indent);
}

} // namespace vantorcd
