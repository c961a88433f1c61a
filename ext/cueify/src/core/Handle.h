// A C handle is the object it stands for, on the heap; these casts are the only places that
// know it.
#pragma once

namespace cueify {

template <class Object, class Handle> Object* objectOf(Handle* handle) noexcept
{
    return reinterpret_cast<Object*>(handle);
}

template <class Handle, class Object> Handle* handleTo(Object* object) noexcept
{
    return reinterpret_cast<Handle*>(object);
}

} // namespace cueify
