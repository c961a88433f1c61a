/* The multisession record, as READ TOC format 1 reports it: the first and last session, and the
 * first track of the last session. */
#ifndef _CUEIFY_SESSIONS_H
#define _CUEIFY_SESSIONS_H

#include <cueify/device.h>
#include <cueify/types.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void *cueify_sessions;

cueify_sessions *cueify_sessions_new(void);
int cueify_device_read_sessions(cueify_device *d, cueify_sessions *s);
int cueify_sessions_deserialize(cueify_sessions *s, const uint8_t * const buffer, size_t size);
int cueify_sessions_serialize(cueify_sessions *s, uint8_t *buffer, size_t *size);
void cueify_sessions_free(cueify_sessions *s);
uint8_t cueify_sessions_get_first_session(cueify_sessions *s);
uint8_t cueify_sessions_get_last_session(cueify_sessions *s);
uint8_t cueify_sessions_get_last_session_control_flags(cueify_sessions *s);
uint8_t cueify_sessions_get_last_session_sub_q_channel_format(cueify_sessions *s);
uint8_t cueify_sessions_get_last_session_track_number(cueify_sessions *s);
/** The logical block address of the last session's first track. */
uint32_t cueify_sessions_get_last_session_address(cueify_sessions *s);

#ifdef __cplusplus
}
#endif

#endif /* _CUEIFY_SESSIONS_H */
