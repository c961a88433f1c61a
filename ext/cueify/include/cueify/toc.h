/* The plain table of contents, as READ TOC format 0 reports it: tracks and the lead-out, in
 * logical block addresses, without sessions. */
#ifndef _CUEIFY_TOC_H
#define _CUEIFY_TOC_H

#include <cueify/device.h>
#include <cueify/constants.h>
#include <cueify/types.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void *cueify_toc;

cueify_toc *cueify_toc_new(void);
int cueify_device_read_toc(cueify_device *d, cueify_toc *t);
/** Reads a READ TOC format 0 reply: 2 bytes of length, first and last track, 8-byte entries. */
int cueify_toc_deserialize(cueify_toc *t, const uint8_t * const buffer, size_t size);
/** Writes t as a READ TOC format 0 reply; *size is the buffer's capacity in, the bytes needed out. */
int cueify_toc_serialize(cueify_toc *t, uint8_t *buffer, size_t *size);
void cueify_toc_free(cueify_toc *t);
uint8_t cueify_toc_get_first_track(cueify_toc *t);
uint8_t cueify_toc_get_last_track(cueify_toc *t);
uint8_t cueify_toc_get_track_control_flags(cueify_toc *t, uint8_t track);
uint8_t cueify_toc_get_track_sub_q_channel_format(cueify_toc *t, uint8_t track);
/** The track's logical block address; CUEIFY_LEAD_OUT_TRACK gives the lead-out's. */
uint32_t cueify_toc_get_track_address(cueify_toc *t, uint8_t track);
uint32_t cueify_toc_get_track_length(cueify_toc *t, uint8_t track);

#define cueify_toc_get_disc_length(t) cueify_toc_get_track_address(t, CUEIFY_LEAD_OUT_TRACK)

#ifdef __cplusplus
}
#endif

#endif /* _CUEIFY_TOC_H */
