/* Basic types of the disc-access library. */
#ifndef _CUEIFY_TYPES_H
#define _CUEIFY_TYPES_H

#include <stdint.h>
#include <stddef.h>

/** A disc address or duration: minutes, seconds and frames (75 a second), in binary. */
typedef struct {
    uint8_t min;
    uint8_t sec;
    uint8_t frm;
} cueify_msf_t;

#endif /* _CUEIFY_TYPES_H */
