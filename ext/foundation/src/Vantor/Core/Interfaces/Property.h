// A property tree node: a named, typed value, or a node (PROPERTY_TYPE_NODE) with ordered children.
#pragma once

#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/Throw.h"
#include "Vantor/Core/Interfaces/Types.h"

#include <list>
#include <string>
#include <variant>

namespace Vantor {
namespace Core {

class VANTOR_API Property
{
public:
    typedef std::list<Property> Children;

    // An empty node (PROPERTY_TYPE_NODE) without a name.
    Property();
    // An empty node (PROPERTY_TYPE_NODE).
    explicit Property(const std::string& name);
    Property(const std::string& name, long long value);
    Property(const std::string& name, const std::string& value);
    Property(const std::string& name, const char* value);
    Property(const std::string& name, bool value);
    Property(const Property& other);
    Property& operator=(const Property& other);
    virtual ~Property();

    const std::string& GetName() const noexcept { return m_name; }
    PropertyTypes GetType() const noexcept { return m_type; }

    // The value of a leaf. Throws MethodIsNotApplicable when the node holds another type.
    long long GetInteger() const;
    const std::string& GetString() const;
    bool GetBool() const;

    // Replace the value and type; the name and children stay.
    Property& operator=(long long value);
    Property& operator=(const std::string& value);
    // Without it a string literal would pick the bool assignment.
    Property& operator=(const char* value);
    Property& operator=(bool value);

    Children& GetChildren() noexcept { return m_children; }
    const Children& GetChildren() const noexcept { return m_children; }

    // The first child with that name, or the children's end.
    Children::iterator FindChild(const std::string& name);
    Children::const_iterator FindChild(const std::string& name) const;

    // Sets the named child's value, creating the child at the end when it is missing.
    // Throws MethodIsNotApplicable when this node is not a PROPERTY_TYPE_NODE.
    template <class T> Property& SetChildT(const std::string& name, const T& value)
    {
        if (m_type != PROPERTY_TYPE_NODE)
            VANTOR_THROW(MethodIsNotApplicable, << PropertyException::ErrorPropertyName(m_name)
                                                << PropertyException::ErrorPropertyType(m_type)
                                                << PropertyException::ErrorMethodName("SetChildT"));
        const Children::iterator child = FindChild(name);
        if (child == m_children.end())
            return CreateChildT<T>(name, value);
        *child = value;
        return *child;
    }

    // Appends a new child, even when one of that name exists.
    // Throws MethodIsNotApplicable when this node is not a PROPERTY_TYPE_NODE.
    template <class T> Property& CreateChildT(const std::string& name, const T& value)
    {
        if (m_type != PROPERTY_TYPE_NODE)
            VANTOR_THROW(MethodIsNotApplicable, << PropertyException::ErrorPropertyName(m_name)
                                                << PropertyException::ErrorPropertyType(m_type)
                                                << PropertyException::ErrorMethodName("CreateChildT"));
        const Property child(name, value);
        m_children.push_back(child);
        return m_children.back();
    }

private:
    std::string m_name;
    PropertyTypes m_type = PROPERTY_TYPE_NODE;
    std::variant<std::monostate, long long, std::string, bool> m_value;
    Children m_children;
};

} // namespace Core
} // namespace Vantor
