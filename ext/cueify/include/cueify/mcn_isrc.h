/* The disc's media catalogue number and the tracks' ISRCs, from the Q sub-channel. */
#ifndef _CUEIFY_MCN_ISRC_H
#define _CUEIFY_MCN_ISRC_H

#include <cueify/device.h>
#include <cueify/constants.h>
#include <cueify/types.h>

#ifdef __cplusplus
extern "C" {
#endif

/**
 * Copies the 13-digit MCN, NUL-terminated, into buffer, cut to *size bytes; *size becomes the bytes
 * written. A NULL buffer asks for the size needed (14). CUEIFY_NO_DATA when the disc has none.
 */
int cueify_device_read_mcn(cueify_device *d, char *buffer, size_t *size);

/** As cueify_device_read_mcn, for the 12-character ISRC of a track (13 bytes with the NUL). */
int cueify_device_read_isrc(cueify_device *d, uint8_t track, char *buffer, size_t *size);

#ifdef __cplusplus
}
#endif

#endif /* _CUEIFY_MCN_ISRC_H */
