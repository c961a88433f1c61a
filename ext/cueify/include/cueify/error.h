/* Result codes of the disc-access library. */
#ifndef _CUEIFY_ERROR_H
#define _CUEIFY_ERROR_H

/** Every function that can fail returns one of these as an int. */
enum cueify_error {
    CUEIFY_OK = 0,                 /**< success */
    CUEIFY_NO_DATA = 1,            /**< the data requested is not present */
    CUEIFY_ERR_INTERNAL = 2,       /**< an operating-system call failed */
    CUEIFY_ERR_BADARG = 3,         /**< a null handle, an empty device name, a bad argument */
    CUEIFY_ERR_NOMEM = 4,          /**< memory could not be allocated */
    CUEIFY_ERR_NO_DEVICE = 5,      /**< the device could not be opened */
    CUEIFY_ERR_TRUNCATED = 6,      /**< serialized data was truncated */
    CUEIFY_ERR_CORRUPTED = 7,      /**< serialized data was corrupted */
    CUEIFY_ERR_TOOSMALL = 8,       /**< the caller's buffer is too small */
    CUEIFY_ERR_INVALID_CDTEXT = 9  /**< CD-Text data was invalid */
};

#endif /* _CUEIFY_ERROR_H */
