// Symbol visibility: every library builds with hidden visibility and exports what its users need.
#pragma once

#define VANTOR_API __attribute__((visibility("default")))

// For members of an exported class that stay private to their library.
#define VANTOR_HIDDEN __attribute__((visibility("hidden")))
