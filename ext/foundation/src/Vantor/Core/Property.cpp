#include "Vantor/Core/Interfaces/Property.h"

#include <algorithm>

namespace Vantor {
namespace Core {

namespace {

[[noreturn]] void ThrowWrongType(const std::string& name, PropertyTypes type, const char* method)
{
    VANTOR_THROW(MethodIsNotApplicable, << PropertyException::ErrorPropertyName(name)
                                        << PropertyException::ErrorPropertyType(type)
                                        << PropertyException::ErrorMethodName(method));
}

} // namespace

Property::Property() = default;

Property::Property(const std::string& name) : m_name(name) {}

Property::Property(const std::string& name, long long value)
    : m_name(name), m_type(PROPERTY_TYPE_INTEGER), m_value(value)
{
}

Property::Property(const std::string& name, const std::string& value)
    : m_name(name), m_type(PROPERTY_TYPE_STRING), m_value(value)
{
}

// A null text is taken as the empty string rather than read.
Property::Property(const std::string& name, const char* value)
    : Property(name, std::string(value ? value : ""))
{
}

Property::Property(const std::string& name, bool value)
    : m_name(name), m_type(PROPERTY_TYPE_BOOL), m_value(value)
{
}

Property::Property(const Property& other) = default;
Property& Property::operator=(const Property& other) = default;
Property::~Property() = default;

long long Property::GetInteger() const
{
    if (m_type != PROPERTY_TYPE_INTEGER)
        ThrowWrongType(m_name, m_type, "GetInteger");
    return std::get<long long>(m_value);
}

const std::string& Property::GetString() const
{
    if (m_type != PROPERTY_TYPE_STRING)
        ThrowWrongType(m_name, m_type, "GetString");
    return std::get<std::string>(m_value);
}

bool Property::GetBool() const
{
    if (m_type != PROPERTY_TYPE_BOOL)
        ThrowWrongType(m_name, m_type, "GetBool");
    return std::get<bool>(m_value);
}

Property& Property::operator=(long long value)
{
    m_type = PROPERTY_TYPE_INTEGER;
    m_value = value;
    return *this;
}

Property& Property::operator=(const std::string& value)
{
    m_type = PROPERTY_TYPE_STRING;
    m_value = value;
    return *this;
}

Property& Property::operator=(const char* value)
{
    return *this = std::string(value ? value : "");
}

Property& Property::operator=(bool value)
{
    m_type = PROPERTY_TYPE_BOOL;
    m_value = value;
    return *this;
}

Property::Children::iterator Property::FindChild(const std::string& name)
{
    return std::find_if(m_children.begin(), m_children.end(),
                        [&name](const Property& child) { return child.m_name == name; });
}

Property::Children::const_iterator Property::FindChild(const std::string& name) const
{
    return std::find_if(m_children.begin(), m_children.end(),
                        [&name](const Property& child) { return child.m_name == name; });
}

} // namespace Core
} // namespace Vantor
