/*
 * Preloaded into the program under test: reads of one file (FAULTY_READ_FILE) that reach a
 * byte offset (FAULTY_READ_OFFSET) or beyond fail with EIO, as a damaged area of a disc would.
 * Every other read goes to the C library untouched.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

typedef ssize_t (*PreadFunction)(int, void*, size_t, off_t);

static int isFaultyFile(int fd)
{
    const char* faulty = getenv("FAULTY_READ_FILE");
    if (!faulty)
        return 0;
    char faultyPath[PATH_MAX];
    if (!realpath(faulty, faultyPath))
        return 0;
    char link[64];
    char target[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, target, sizeof target - 1);
    if (length < 0)
        return 0;
    target[length] = '\0';
    return strcmp(target, faultyPath) == 0;
}

static int reachesFault(int fd, size_t count, off_t offset)
{
    const char* limit = getenv("FAULTY_READ_OFFSET");
    if (!limit || !isFaultyFile(fd))
        return 0;
    return (long long)offset + (long long)count > atoll(limit);
}

static ssize_t faultyPread(const char* name, int fd, void* buffer, size_t count, off_t offset)
{
    if (reachesFault(fd, count, offset)) {
        errno = EIO;
        return -1;
    }
    const PreadFunction next = (PreadFunction)dlsym(RTLD_NEXT, name);
    if (!next) {
        errno = ENOSYS;
        return -1;
    }
    return next(fd, buffer, count, offset);
}

/* The project builds with hidden visibility; these two must be seen to interpose. */
#define INTERPOSED __attribute__((visibility("default")))

INTERPOSED ssize_t pread(int fd, void* buffer, size_t count, off_t offset)
{
    return faultyPread("pread", fd, buffer, count, offset);
}

INTERPOSED ssize_t pread64(int fd, void* buffer, size_t count, off_t offset)
{
    return faultyPread("pread64", fd, buffer, count, offset);
}
