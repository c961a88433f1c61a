// A cueify_cdtext handle is a CdTextData on the heap, and a cueify_cdtext_block handle one of
// its blocks; these casts are the only places that know it.
#pragma once

#include "core/CdTextData.h"

#include <cueify/cdtext.h>

namespace cueify {

inline CdTextData* cdTextOf(cueify_cdtext* handle) noexcept
{
    return reinterpret_cast<CdTextData*>(handle);
}

inline cueify_cdtext* handleOf(CdTextData* cdText) noexcept
{
    return reinterpret_cast<cueify_cdtext*>(cdText);
}

inline const CdTextBlock* cdTextBlockOf(cueify_cdtext_block* handle) noexcept
{
    return reinterpret_cast<const CdTextBlock*>(handle);
}

inline cueify_cdtext_block* handleOf(const CdTextBlock* block) noexcept
{
    return reinterpret_cast<cueify_cdtext_block*>(const_cast<CdTextBlock*>(block));
}

} // namespace cueify
