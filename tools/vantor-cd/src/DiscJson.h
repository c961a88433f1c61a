// The facts list, info and drives print, as JSON for scripts. The README gives the schema.
#pragma once

#include "DiscAccess.h"

#include "Vantor/Core/Interfaces/Property.h"

#include <nlohmann/json.hpp>

namespace vantorcd {

nlohmann::ordered_json discJson(const OpenedDisc& disc);

nlohmann::ordered_json trackJson(const TocTrack& track);

// A property tree: nodes as objects, leaves as their typed values.
nlohmann::ordered_json propertyJson(const Vantor::Core::Property& node);

} // namespace vantorcd
