/* Constants of the table of contents. */
#ifndef CUEIFY_CONSTANTS_H
#define CUEIFY_CONSTANTS_H

/** The track number by which the lead-out is addressed. */
#define CUEIFY_LEAD_OUT_TRACK 0xAA

/* Track control flags: the 4-bit CONTROL field of a TOC entry. */
#define CUEIFY_TOC_TRACK_HAS_PREEMPHASIS 0x1
#define CUEIFY_TOC_TRACK_PERMITS_COPYING 0x2
#define CUEIFY_TOC_TRACK_IS_DATA 0x4
#define CUEIFY_TOC_TRACK_IS_QUADRAPHONIC 0x8

/* Pseudo-track points of a full TOC. */
#define CUEIFY_FULL_TOC_FIRST_TRACK_PSEUDOTRACK 0xA0
#define CUEIFY_FULL_TOC_LAST_TRACK_PSEUDOTRACK 0xA1

/* Session types, as the A0 point of a full TOC reports them. */
#define CUEIFY_SESSION_MODE_1 0x00
#define CUEIFY_SESSION_CDI 0x10
#define CUEIFY_SESSION_MODE_2 0x20

#endif /* CUEIFY_CONSTANTS_H */
