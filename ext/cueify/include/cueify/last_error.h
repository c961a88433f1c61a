/* Why a call failed. The result codes say what kind of failure it was; this says what went
 * wrong, in words a user can act on: "album.cue:12: INDEX 00 after INDEX 01 in track 3". */
#ifndef CUEIFY_LAST_ERROR_H
#define CUEIFY_LAST_ERROR_H

#ifdef __cplusplus
extern "C" {
#endif

/**
 * The reason of the most recent failed call of this library on the calling thread, as UTF-8
 * text without a final period. Empty when the most recent call that can fail succeeded. The text
 * stays valid until this thread's next call of the library.
 */
const char *cueify_get_last_error(void);

#ifdef __cplusplus
}
#endif

#endif /* CUEIFY_LAST_ERROR_H */
