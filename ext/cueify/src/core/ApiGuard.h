// The C API's last line: no exception leaves a cueify_* function, and every failure leaves
// its reason for the calling thread.
#pragma once

#include "core/Failure.h"

#include <cueify/error.h>

#include <new>
#include <type_traits>

namespace cueify {

// The reason kept for a result code that came without one.
const char* reasonOf(int code) noexcept;

// Runs body: CUEIFY_OK when it returns. A Failure gives its own code; running out of memory
// becomes CUEIFY_ERR_NOMEM, any other exception CUEIFY_ERR_INTERNAL.
template <class Body> int guardedCall(Body&& body) noexcept
{
    clearLastError();
    try {
        if constexpr (std::is_void_v<decltype(body())>) {
            body();
            return CUEIFY_OK;
        } else {
            const int result = body();
            if (result != CUEIFY_OK && *lastError() == '\0')
                setLastError(reasonOf(result));
            return result;
        }
    } catch (const Failure& failure) {
        setLastError(failure.what());
        return failure.code();
    } catch (const std::bad_alloc&) {
        setLastError(reasonOf(CUEIFY_ERR_NOMEM));
        return CUEIFY_ERR_NOMEM;
    } catch (const std::exception& failure) {
        setLastError(failure.what());
        return CUEIFY_ERR_INTERNAL;
    } catch (...) {
        setLastError(reasonOf(CUEIFY_ERR_INTERNAL));
        return CUEIFY_ERR_INTERNAL;
    }
}

} // namespace cueify
