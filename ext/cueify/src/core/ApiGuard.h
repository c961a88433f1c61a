// The C API's last line: no exception leaves a cueify_* function.
#pragma once

#include <cueify/error.h>

#include <new>

namespace cueify {

// Runs body and returns its result code; running out of memory becomes CUEIFY_ERR_NOMEM,
// any other exception CUEIFY_ERR_INTERNAL.
template <class Body>
int guardedCall(Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return CUEIFY_ERR_NOMEM;
    } catch (...) {
        return CUEIFY_ERR_INTERNAL;
    }
}

} // namespace cueify
