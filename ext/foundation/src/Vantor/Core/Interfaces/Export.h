// Symbol visibility: every library builds with hidden visibility and exports what its users need.
#pragma once

#define VANTOR_API __attribute__((visibility("default")))
