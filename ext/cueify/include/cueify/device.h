/* Drives and disc images. */
#ifndef _CUEIFY_DEVICE_H
#define _CUEIFY_DEVICE_H

/* For the two functions of ours below; the rest of this header needs no fixed-width type. */
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/** An opened or closed drive or disc image. */
typedef void *cueify_device;

/* What a device can be asked for (cueify_device_get_supported_apis). */
#define CUEIFY_DEVICE_SUPPORTS_TOC 0x01
#define CUEIFY_DEVICE_SUPPORTS_SESSIONS 0x02
#define CUEIFY_DEVICE_SUPPORTS_FULL_TOC 0x04
#define CUEIFY_DEVICE_SUPPORTS_CDTEXT 0x08
#define CUEIFY_DEVICE_SUPPORTS_MCN_ISRC 0x10
#define CUEIFY_DEVICE_SUPPORTS_INDICES 0x20
#define CUEIFY_DEVICE_SUPPORTS_DATA_MODE 0x40
#define CUEIFY_DEVICE_SUPPORTS_TRACK_CONTROL 0x80

/** A closed handle, or NULL when memory runs out. */
cueify_device *cueify_device_new(void);

/**
 * Opens a drive or a disc image (a CUE sheet, or a directory holding exactly one) by its name,
 * the default device when device is NULL.
 */
int cueify_device_open(cueify_device *d, const char *device);

int cueify_device_close(cueify_device *d);

/** Releases the handle, closing its device if it is open. */
void cueify_device_free(cueify_device *d);

/** A bitmask of CUEIFY_DEVICE_SUPPORTS_*: a set bit means "not known to be unsupported". */
int cueify_device_get_supported_apis(cueify_device *d);

/** One device name owned by the library, or NULL. */
const char *cueify_device_get_default_device(void);

/* Raw sector reads and the list of drives: extensions of this library. */

#define CUEIFY_RAW_SECTOR_SIZE 2352

/**
 * Reads the raw sector at a logical block address (0 is the sector at 00:02:00). CUEIFY_OK only
 * when all CUEIFY_RAW_SECTOR_SIZE bytes were read.
 */
int cueify_device_read_raw(cueify_device *d, uint32_t lba, uint8_t *buffer);

/**
 * cueify_device_read_raw from the disc itself, for a sector whose first read is in doubt: past
 * what the library read ahead, and past the drive's own cache, which a read elsewhere on the disc
 * moves first. Slower than cueify_device_read_raw; on a disc image the same.
 */
int cueify_device_read_raw_uncached(cueify_device *d, uint32_t lba, uint8_t *buffer);

/**
 * Asks a drive to read at speed times 1x, or at its fastest, the drive's default, when speed is 0.
 * The drive is sent SET CD SPEED as Linux's CD driver sends it: speed * 177 kB/s, at most 370x; 0
 * asks for 0xFFFF kB/s, the fastest. The speed holds until the drive is set again or reset, beyond
 * this handle's life: a caller that slows the drive sets it back to 0 when done. CUEIFY_OK also on
 * a disc image, which has no speed and ignores the call; CUEIFY_ERR_INTERNAL when the drive
 * refuses the command, and the drive reads on at the speed it had.
 */
int cueify_device_set_read_speed(cueify_device *d, unsigned int speed);

/**
 * The drives and virtual drives, as one malloc'ed block: count pointers followed by the names
 * they point to. Release it with one free(). NULL, with count 0, when there is none.
 */
char **cueify_device_get_all_devices(size_t *count);

#ifdef __cplusplus
}
#endif

#endif /* _CUEIFY_DEVICE_H */
