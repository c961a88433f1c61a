// The library is built with hidden symbols; the C API's definitions are marked to leave it.
#pragma once

#define CUEIFY_API_DEFINITION __attribute__((visibility("default")))
