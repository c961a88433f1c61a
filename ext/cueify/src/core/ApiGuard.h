// The C API's last line: no exception leaves a cueify_* function, and every failure leaves
// its reason for the calling thread.
#pragma once

#include "core/Failure.h"

#include <cueify/error.h>

#include <new>
#include <type_traits>

namespace cueify {

// Runs body: CUEIFY_OK when it returns. A Failure gives its own code; running out of memory
// becomes CUEIFY_ERR_NOMEM, any other exception CUEIFY_ERR_INTERNAL.
template <class Body> int guardedCall(Body&& body) noexcept
{
    static_assert(std::is_void_v<decltype(body())>, "a failure leaves the body as a Failure, not as a code");
    clearLastError();
    try {
        body();
        return CUEIFY_OK;
    } catch (const Failure& failure) {
        setLastError(failure.what());
        return failure.code();
    } catch (const std::bad_alloc&) {
        setLastError("out of memory");
        return CUEIFY_ERR_NOMEM;
    } catch (const std::exception& failure) {
        setLastError(failure.what());
        return CUEIFY_ERR_INTERNAL;
    } catch (...) {
        setLastError("an internal error");
        return CUEIFY_ERR_INTERNAL;
    }
}

} // namespace cueify
