/* The disc-access library: drives and disc images, their full TOC and raw sectors. */
#ifndef CUEIFY_CUEIFY_H
#define CUEIFY_CUEIFY_H

#include <cueify/types.h>
#include <cueify/error.h>
#include <cueify/constants.h>
#include <cueify/device.h>
#include <cueify/full_toc.h>

#endif /* CUEIFY_CUEIFY_H */
