/* The disc-access library: drives and disc images, their tables of contents, sessions, CD-Text,
 * catalogue numbers, ISRCs, indices and disc IDs. */
#ifndef _CUEIFY_CUEIFY_H
#define _CUEIFY_CUEIFY_H

#include <cueify/types.h>
#include <cueify/constants.h>
#include <cueify/error.h>
#include <cueify/device.h>
#include <cueify/toc.h>
#include <cueify/sessions.h>
#include <cueify/full_toc.h>
#include <cueify/mcn_isrc.h>
#include <cueify/track_data.h>
#include <cueify/discid.h>

#endif /* _CUEIFY_CUEIFY_H */
