/* Preloaded into the program under test: preads of one file (FAULTY_READ_FILE), as the disc-image
 * reader makes them, that reach a byte offset (FAULTY_READ_OFFSET) fail with EIO, as a damaged area of a disc
 * would; with FAULTY_READ_TIMES, only that many of them, as a sector that reads on a later attempt. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int reachesFault(int fd, size_t count, off_t offset)
{
    static long failures = 0;
    const char* faulty = getenv("FAULTY_READ_FILE");
    const char* limit = getenv("FAULTY_READ_OFFSET");
    const char* times = getenv("FAULTY_READ_TIMES");
    char faultyPath[PATH_MAX], link[64], target[PATH_MAX];
    if (!faulty || !limit || (long long)offset + (long long)count <= atoll(limit) ||
        !realpath(faulty, faultyPath))
        return 0;
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, target, sizeof target - 1);
    if (length < 0)
        return 0;
    target[length] = '\0';
    return strcmp(target, faultyPath) == 0 && (!times || failures++ < atol(times));
}

/* The project builds with hidden visibility; the disc-image reader's pread must see this one. */
__attribute__((visibility("default"))) ssize_t pread(int fd, void* buffer, size_t count, off_t offset)
{
    if (reachesFault(fd, count, offset)) {
        errno = EIO;
        return -1;
    }
    ssize_t (*next)(int, void*, size_t, off_t) =
        (ssize_t(*)(int, void*, size_t, off_t))dlsym(RTLD_NEXT, "pread");
    return next(fd, buffer, count, offset);
}
