/* Basic types of the disc-access library. */
#ifndef CUEIFY_TYPES_H
#define CUEIFY_TYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(CUEIFY_BUILDING)
#define CUEIFY_EXPORT __attribute__((visibility("default")))
#else
#define CUEIFY_EXPORT
#endif

/** A disc address or length: minutes, seconds and frames (75 frames a second), plain binary. */
typedef struct {
    uint8_t min;
    uint8_t sec;
    uint8_t frm;
} cueify_msf_t;

/** An opaque handle to a drive or disc image. */
typedef void *cueify_device;

/** An opaque handle to a full table of contents. */
typedef void *cueify_full_toc;

#ifdef __cplusplus
}
#endif

#endif /* CUEIFY_TYPES_H */
