// Owners of the cueify C API's handles, each freed by its own function.
#pragma once

#include <cueify/cueify.h>

#include <memory>

namespace cueify::test {

template <class Handle, void (*Free)(Handle*)> struct Freeing
{
    void operator()(Handle* handle) const noexcept { Free(handle); }
};
using DeviceOwner = std::unique_ptr<cueify_device, Freeing<cueify_device, cueify_device_free>>;
using TocOwner = std::unique_ptr<cueify_full_toc, Freeing<cueify_full_toc, cueify_full_toc_free>>;
using CdTextOwner = std::unique_ptr<cueify_cdtext, Freeing<cueify_cdtext, cueify_cdtext_free>>;
using PlainTocOwner = std::unique_ptr<cueify_toc, Freeing<cueify_toc, cueify_toc_free>>;
using SessionsOwner = std::unique_ptr<cueify_sessions, Freeing<cueify_sessions, cueify_sessions_free>>;
using IndicesOwner = std::unique_ptr<cueify_indices, Freeing<cueify_indices, cueify_indices_free>>;

} // namespace cueify::test
