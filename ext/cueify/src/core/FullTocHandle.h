// A cueify_full_toc handle is a FullTocData on the heap; these two casts are the only
// places that know it.
#pragma once

#include "core/FullTocData.h"

#include <cueify/full_toc.h>

namespace cueify {

inline FullTocData* tocDataOf(cueify_full_toc* handle) noexcept
{
    return reinterpret_cast<FullTocData*>(handle);
}

inline cueify_full_toc* handleOf(FullTocData* toc) noexcept
{
    return reinterpret_cast<cueify_full_toc*>(toc);
}

} // namespace cueify
