/* Constants of the table of contents and the sub-channel. */
#ifndef _CUEIFY_CONSTANTS_H
#define _CUEIFY_CONSTANTS_H

/** The track number under which the lead-out is addressed. */
#define CUEIFY_LEAD_OUT_TRACK 0xAA

/* Track control flags: the 4-bit CONTROL field of a TOC entry. */
#define CUEIFY_TOC_TRACK_HAS_PREEMPHASIS 0x1
#define CUEIFY_TOC_TRACK_PERMITS_COPYING 0x2
#define CUEIFY_TOC_TRACK_IS_DATA 0x4
#define CUEIFY_TOC_TRACK_IS_QUADRAPHONIC 0x8

/* What a Q sub-channel frame carries: its 4-bit ADR field. */
#define CUEIFY_SUB_Q_NOTHING 0x0
#define CUEIFY_SUB_Q_POSITION 0x1
#define CUEIFY_SUB_Q_MCN 0x2
#define CUEIFY_SUB_Q_ISRC 0x3

#endif /* _CUEIFY_CONSTANTS_H */
