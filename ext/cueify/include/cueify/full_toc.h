/* The full table of contents of a disc. */
#ifndef CUEIFY_FULL_TOC_H
#define CUEIFY_FULL_TOC_H

#include <cueify/types.h>

#ifdef __cplusplus
extern "C" {
#endif

/** An empty TOC (every getter answers 0), or NULL when memory runs out. */
CUEIFY_EXPORT cueify_full_toc *cueify_full_toc_new(void);

CUEIFY_EXPORT void cueify_full_toc_free(cueify_full_toc *t);

/*
 * Getters. Track and session numbers are the numbers on the disc. Out of range,
 * or a NULL TOC, they answer 0 or {0,0,0}; they never report errors.
 */
CUEIFY_EXPORT uint8_t cueify_full_toc_get_first_session(cueify_full_toc *t);
CUEIFY_EXPORT uint8_t cueify_full_toc_get_last_session(cueify_full_toc *t);
CUEIFY_EXPORT uint8_t cueify_full_toc_get_session_first_track(cueify_full_toc *t, uint8_t session);
CUEIFY_EXPORT uint8_t cueify_full_toc_get_session_last_track(cueify_full_toc *t, uint8_t session);
CUEIFY_EXPORT uint8_t cueify_full_toc_get_session_type(cueify_full_toc *t, uint8_t session);

/** Absolute address of the session's lead-out, including the 150-frame offset. */
CUEIFY_EXPORT cueify_msf_t cueify_full_toc_get_session_leadout_address(cueify_full_toc *t, uint8_t session);

CUEIFY_EXPORT uint8_t cueify_full_toc_get_track_session(cueify_full_toc *t, uint8_t track);

/** The CONTROL nibble of the track. */
CUEIFY_EXPORT uint8_t cueify_full_toc_get_track_control_flags(cueify_full_toc *t, uint8_t track);

/** The sub-Q format (ADR) of the track's TOC entry. */
CUEIFY_EXPORT uint8_t cueify_full_toc_get_track_sub_q_channel_format(cueify_full_toc *t, uint8_t track);

/** Absolute start (index 01) including the 150-frame offset: track 1 of a normal disc is 00:02:00. */
CUEIFY_EXPORT cueify_msf_t cueify_full_toc_get_track_address(cueify_full_toc *t, uint8_t track);

/**
 * The next track's start minus this start when the next track is in the same session,
 * otherwise this track's session lead-out minus this start.
 */
CUEIFY_EXPORT cueify_msf_t cueify_full_toc_get_track_length(cueify_full_toc *t, uint8_t track);

#ifdef __cplusplus
}
#endif

#endif /* CUEIFY_FULL_TOC_H */
