/* Disc IDs: FreeDB (CDDB) and MusicBrainz. Include after toc.h, sessions.h and full_toc.h,
 * as cueify.h does. */
#ifndef _CUEIFY_DISCID_H
#define _CUEIFY_DISCID_H

#ifdef __cplusplus
extern "C" {
#endif

/** From a plain TOC; with a multisession record the last session's tracks are left out. */
uint32_t cueify_toc_get_freedb_id(cueify_toc *t, cueify_sessions *s);
/** use_data_tracks 1: every track up to the last lead-out; 0: without the last session's data. */
uint32_t cueify_full_toc_get_freedb_id(cueify_full_toc *t, int use_data_tracks);
uint32_t cueify_device_get_freedb_id(cueify_device *d, int use_data_tracks);

/* The MusicBrainz disc ID: 28 characters in a malloc'ed string the caller frees, or NULL. */
char *cueify_toc_get_musicbrainz_id(cueify_toc *t, cueify_sessions *s);
char *cueify_full_toc_get_musicbrainz_id(cueify_full_toc *t);
char *cueify_device_get_musicbrainz_id(cueify_device *d);

#ifdef __cplusplus
}
#endif

#endif /* _CUEIFY_DISCID_H */
