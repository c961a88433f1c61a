/* What the disc itself says of a track: its indices, its data mode and its control flags. */
#ifndef _CUEIFY_TRACK_DATA_H
#define _CUEIFY_TRACK_DATA_H

#include <cueify/device.h>
#include <cueify/constants.h>
#include <cueify/types.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void *cueify_indices;

/* Data modes (cueify_device_read_data_mode). */
#define CUEIFY_DATA_MODE_CDDA 0x00
#define CUEIFY_DATA_MODE_MODE_1 0x01
#define CUEIFY_DATA_MODE_MODE_2 0x02
#define CUEIFY_DATA_MODE_UNKNOWN 0x0F
#define CUEIFY_DATA_MODE_ERROR 0x10

cueify_indices *cueify_indices_new(void);

/**
 * The indices of a track: INDEX 01, 02, ... as absolute addresses, then the next track's INDEX 00
 * when a pregap follows the track.
 */
int cueify_device_read_track_indices(cueify_device *d, cueify_indices *i, uint8_t track);
void cueify_indices_free(cueify_indices *i);
uint8_t cueify_indices_get_num_indices(cueify_indices *i);
/** index counts from 0 up to the number of indices. */
uint8_t cueify_indices_get_index_number(cueify_indices *i, uint8_t index);
cueify_msf_t cueify_indices_get_index_offset(cueify_indices *i, uint8_t index);

/** CUEIFY_DATA_MODE_* of a track: audio, or the mode byte of its first sector. */
int cueify_device_read_data_mode(cueify_device *d, uint8_t track);

/** The CONTROL bits the Q sub-channel carries at the track's start; 0x0F when unknown. */
uint8_t cueify_device_read_track_control_flags(cueify_device *d, uint8_t track);

#ifdef __cplusplus
}
#endif

#endif /* _CUEIFY_TRACK_DATA_H */
