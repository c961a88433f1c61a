/* Drives and disc images. */
#ifndef CUEIFY_DEVICE_H
#define CUEIFY_DEVICE_H

#include <cueify/types.h>

#ifdef __cplusplus
extern "C" {
#endif

/** Bytes in one raw sector. */
#define CUEIFY_RAW_SECTOR_SIZE 2352

/** A closed device handle, or NULL when memory runs out. */
CUEIFY_EXPORT cueify_device *cueify_device_new(void);

/**
 * Opens a drive, a CUE sheet, or a directory that holds exactly one CUE sheet.
 * NULL name: the default device. Returns CUEIFY_OK, CUEIFY_ERR_BADARG (null handle,
 * empty name), CUEIFY_ERR_NO_DEVICE or CUEIFY_ERR_NOMEM.
 */
CUEIFY_EXPORT int cueify_device_open(cueify_device *d, const char *device);

/** Closes an open device; the handle can be opened again. */
CUEIFY_EXPORT int cueify_device_close(cueify_device *d);

/** Releases the handle, closing the device first if it is open. */
CUEIFY_EXPORT void cueify_device_free(cueify_device *d);

/** One device name owned by the library, or NULL when there is no drive. */
CUEIFY_EXPORT const char *cueify_device_get_default_device(void);

/** Reads the full TOC (READ TOC/PMA/ATIP format 2) into t, which is cleared first. */
CUEIFY_EXPORT int cueify_device_read_full_toc(cueify_device *d, cueify_full_toc *t);

/**
 * Reads the raw 2352-byte sector at logical block address lba (0 is the sector at
 * 00:02:00). Returns CUEIFY_OK only when every byte was read.
 */
CUEIFY_EXPORT int cueify_device_read_raw(cueify_device *d, uint32_t lba, uint8_t *buffer);

/**
 * Lists the physical drives, then the virtual drives named in CUEIFY_VIRTUAL_DRIVES.
 * The result is one malloc'ed block (the pointer array followed by the names):
 * release it with a single free(). No drive: NULL and *count 0.
 */
CUEIFY_EXPORT char **cueify_device_get_all_devices(size_t *count);

#ifdef __cplusplus
}
#endif

#endif /* CUEIFY_DEVICE_H */
