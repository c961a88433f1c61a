/* The full table of contents: sessions, their tracks and lead-outs, as READ TOC format 2
 * reports them. */
#ifndef _CUEIFY_FULL_TOC_H
#define _CUEIFY_FULL_TOC_H

#include <cueify/device.h>
#include <cueify/constants.h>
#include <cueify/types.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void *cueify_full_toc;

/* Pseudo-track points of a full TOC. */
#define CUEIFY_FULL_TOC_FIRST_TRACK_PSEUDOTRACK 0xA0
#define CUEIFY_FULL_TOC_LAST_TRACK_PSEUDOTRACK 0xA1

/* Session types, as the A0 point of a full TOC reports them. */
#define CUEIFY_SESSION_MODE_1 0x00
#define CUEIFY_SESSION_CDI 0x10
#define CUEIFY_SESSION_MODE_2 0x20

/** An empty full TOC (every getter answers 0), or NULL when memory runs out. */
cueify_full_toc *cueify_full_toc_new(void);

/** Reads the device's full TOC into t, which is cleared first. */
int cueify_device_read_full_toc(cueify_device *d, cueify_full_toc *t);

/** Reads a READ TOC format 2 reply: 2 bytes of length, first and last session, 11-byte entries. */
int cueify_full_toc_deserialize(cueify_full_toc *t, const uint8_t * const buffer, size_t size);

/** Writes t as a READ TOC format 2 reply; *size is the buffer's capacity in, the bytes needed out. */
int cueify_full_toc_serialize(cueify_full_toc *t, uint8_t *buffer, size_t *size);

void cueify_full_toc_free(cueify_full_toc *t);

uint8_t cueify_full_toc_get_first_session(cueify_full_toc *t);
uint8_t cueify_full_toc_get_last_session(cueify_full_toc *t);

/* Session getters; point is CUEIFY_FULL_TOC_FIRST_TRACK_PSEUDOTRACK, _LAST_TRACK_PSEUDOTRACK or
 * CUEIFY_LEAD_OUT_TRACK. */
uint8_t cueify_full_toc_get_session_control_flags(cueify_full_toc *t, uint8_t session, uint8_t point);
uint8_t cueify_full_toc_get_session_sub_q_channel_format(cueify_full_toc *t, uint8_t session, uint8_t point);
/** Where in the lead-in the drive read the entry (its ATIME); a track number names the track's. */
cueify_msf_t cueify_full_toc_get_point_address(cueify_full_toc *t, uint8_t session, uint8_t point);
uint8_t cueify_full_toc_get_session_first_track(cueify_full_toc *t, uint8_t session);
uint8_t cueify_full_toc_get_session_last_track(cueify_full_toc *t, uint8_t session);
uint8_t cueify_full_toc_get_session_type(cueify_full_toc *t, uint8_t session);
cueify_msf_t cueify_full_toc_get_session_leadout_address(cueify_full_toc *t, uint8_t session);
cueify_msf_t cueify_full_toc_get_session_length(cueify_full_toc *t, uint8_t session);

uint8_t cueify_full_toc_get_track_session(cueify_full_toc *t, uint8_t track);
uint8_t cueify_full_toc_get_track_control_flags(cueify_full_toc *t, uint8_t track);
uint8_t cueify_full_toc_get_track_sub_q_channel_format(cueify_full_toc *t, uint8_t track);
/** Absolute start (INDEX 01), with the 150 frames before logical block 0: 00:02:00 for track 1. */
cueify_msf_t cueify_full_toc_get_track_address(cueify_full_toc *t, uint8_t track);
/** Up to the next track's start in the same session, else to the session's lead-out. */
cueify_msf_t cueify_full_toc_get_track_length(cueify_full_toc *t, uint8_t track);

#define cueify_full_toc_get_first_track(t) \
    cueify_full_toc_get_session_first_track(t, cueify_full_toc_get_first_session(t))
#define cueify_full_toc_get_last_track(t) \
    cueify_full_toc_get_session_last_track(t, cueify_full_toc_get_last_session(t))
#define cueify_full_toc_get_disc_length(t) \
    cueify_full_toc_get_session_leadout_address(t, cueify_full_toc_get_last_session(t))

#ifdef __cplusplus
}
#endif

#endif /* _CUEIFY_FULL_TOC_H */
