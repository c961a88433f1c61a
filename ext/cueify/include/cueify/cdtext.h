/* CD-Text: the titles, performers and other text a disc carries in its lead-in, in up to eight
 * blocks (one per language), and the CD-Text copy of the disc's table of contents. */
#ifndef _CUEIFY_CDTEXT_H
#define _CUEIFY_CDTEXT_H

#include <cueify/device.h>
#include <cueify/constants.h>
#include <cueify/types.h>

#ifdef __cplusplus
extern "C" {
#endif

/** An opaque handle to the CD-Text of a disc. */
typedef void *cueify_cdtext;

/** One block of a cueify_cdtext: valid until that object is freed or filled again. */
typedef void *cueify_cdtext_block;

/* The character set of a block. */
#define CUEIFY_CDTEXT_CHARSET_ISO8859_1 0x00
#define CUEIFY_CDTEXT_CHARSET_ASCII 0x01
#define CUEIFY_CDTEXT_CHARSET_MSJIS 0x80
#define CUEIFY_CDTEXT_CHARSET_KOREAN 0x81
#define CUEIFY_CDTEXT_CHARSET_CHINESE 0x82

/** The track number by which the text of the whole disc is addressed. */
#define CUEIFY_CDTEXT_ALBUM 0x00

/** The language of a block. */
enum {
    CUEIFY_CDTEXT_LANG_UNKNOWN = 0x00,
    CUEIFY_CDTEXT_LANG_ALBANIAN = 0x01,
    CUEIFY_CDTEXT_LANG_BRETON = 0x02,
    CUEIFY_CDTEXT_LANG_CATALAN = 0x03,
    CUEIFY_CDTEXT_LANG_CROATIAN = 0x04,
    CUEIFY_CDTEXT_LANG_WELSH = 0x05,
    CUEIFY_CDTEXT_LANG_CZECH = 0x06,
    CUEIFY_CDTEXT_LANG_DANISH = 0x07,
    CUEIFY_CDTEXT_LANG_GERMAN = 0x08,
    CUEIFY_CDTEXT_LANG_ENGLISH = 0x09,
    CUEIFY_CDTEXT_LANG_SPANISH = 0x0A,
    CUEIFY_CDTEXT_LANG_ESPERANTO = 0x0B,
    CUEIFY_CDTEXT_LANG_ESTONIAN = 0x0C,
    CUEIFY_CDTEXT_LANG_BASQUE = 0x0D,
    CUEIFY_CDTEXT_LANG_FAROESE = 0x0E,
    CUEIFY_CDTEXT_LANG_FRENCH = 0x0F,
    CUEIFY_CDTEXT_LANG_FRISIAN = 0x10,
    CUEIFY_CDTEXT_LANG_IRISH = 0x11,
    CUEIFY_CDTEXT_LANG_GAELIC = 0x12,
    CUEIFY_CDTEXT_LANG_GALICIAN = 0x13,
    CUEIFY_CDTEXT_LANG_ICELANDIC = 0x14,
    CUEIFY_CDTEXT_LANG_ITALIAN = 0x15,
    CUEIFY_CDTEXT_LANG_SAMI = 0x16,
    CUEIFY_CDTEXT_LANG_LATIN = 0x17,
    CUEIFY_CDTEXT_LANG_LATVIAN = 0x18,
    CUEIFY_CDTEXT_LANG_LUXEMBOURGISH = 0x19,
    CUEIFY_CDTEXT_LANG_LITHUANIAN = 0x1A,
    CUEIFY_CDTEXT_LANG_HUNGARIAN = 0x1B,
    CUEIFY_CDTEXT_LANG_MALTESE = 0x1C,
    CUEIFY_CDTEXT_LANG_DUTCH = 0x1D,
    CUEIFY_CDTEXT_LANG_NORWEGIAN = 0x1E,
    CUEIFY_CDTEXT_LANG_OCCITAN = 0x1F,
    CUEIFY_CDTEXT_LANG_POLISH = 0x20,
    CUEIFY_CDTEXT_LANG_PORTUGUESE = 0x21,
    CUEIFY_CDTEXT_LANG_ROMANIAN = 0x22,
    CUEIFY_CDTEXT_LANG_ROMANSH = 0x23,
    CUEIFY_CDTEXT_LANG_SERBIAN = 0x24,
    CUEIFY_CDTEXT_LANG_SLOVAK = 0x25,
    CUEIFY_CDTEXT_LANG_SLOVENIAN = 0x26,
    CUEIFY_CDTEXT_LANG_FINNISH = 0x27,
    CUEIFY_CDTEXT_LANG_SWEDISH = 0x28,
    CUEIFY_CDTEXT_LANG_TURKISH = 0x29,
    CUEIFY_CDTEXT_LANG_FLEMISH = 0x2A,
    CUEIFY_CDTEXT_LANG_WALLOON = 0x2B,
    CUEIFY_CDTEXT_LANG_ZULU = 0x45,
    CUEIFY_CDTEXT_LANG_VIETNAMESE = 0x46,
    CUEIFY_CDTEXT_LANG_UZBEK = 0x47,
    CUEIFY_CDTEXT_LANG_URDU = 0x48,
    CUEIFY_CDTEXT_LANG_UKRAINIAN = 0x49,
    CUEIFY_CDTEXT_LANG_THAI = 0x4A,
    CUEIFY_CDTEXT_LANG_TELUGU = 0x4B,
    CUEIFY_CDTEXT_LANG_TATAR = 0x4C,
    CUEIFY_CDTEXT_LANG_TAMIL = 0x4D,
    CUEIFY_CDTEXT_LANG_TAJIK = 0x4E,
    CUEIFY_CDTEXT_LANG_SWAHILI = 0x4F,
    CUEIFY_CDTEXT_LANG_SRANAN_TONGO = 0x50,
    CUEIFY_CDTEXT_LANG_SOMALI = 0x51,
    CUEIFY_CDTEXT_LANG_SINHALA = 0x52,
    CUEIFY_CDTEXT_LANG_SHONA = 0x53,
    CUEIFY_CDTEXT_LANG_SERBOCROAT = 0x54,
    CUEIFY_CDTEXT_LANG_RUTHENIAN = 0x55,
    CUEIFY_CDTEXT_LANG_RUSSIAN = 0x56,
    CUEIFY_CDTEXT_LANG_QUECHUA = 0x57,
    CUEIFY_CDTEXT_LANG_PUSHTU = 0x58,
    CUEIFY_CDTEXT_LANG_PUNJABI = 0x59,
    CUEIFY_CDTEXT_LANG_PERSIAN = 0x5A,
    CUEIFY_CDTEXT_LANG_PAPIAMENTO = 0x5B,
    CUEIFY_CDTEXT_LANG_ORIYA = 0x5C,
    CUEIFY_CDTEXT_LANG_NEPALI = 0x5D,
    CUEIFY_CDTEXT_LANG_NDEBELE = 0x5E,
    CUEIFY_CDTEXT_LANG_MARATHI = 0x5F,
    CUEIFY_CDTEXT_LANG_MOLDAVIAN = 0x60,
    CUEIFY_CDTEXT_LANG_MALAYSIAN = 0x61,
    CUEIFY_CDTEXT_LANG_MALAGASY = 0x62,
    CUEIFY_CDTEXT_LANG_MACEDONIAN = 0x63,
    CUEIFY_CDTEXT_LANG_LAO = 0x64,
    CUEIFY_CDTEXT_LANG_KOREAN = 0x65,
    CUEIFY_CDTEXT_LANG_KHMER = 0x66,
    CUEIFY_CDTEXT_LANG_KAZAKH = 0x67,
    CUEIFY_CDTEXT_LANG_KANNADA = 0x68,
    CUEIFY_CDTEXT_LANG_JAPANESE = 0x69,
    CUEIFY_CDTEXT_LANG_INDONESIAN = 0x6A,
    CUEIFY_CDTEXT_LANG_HINDI = 0x6B,
    CUEIFY_CDTEXT_LANG_HEBREW = 0x6C,
    CUEIFY_CDTEXT_LANG_HAUSA = 0x6D,
    CUEIFY_CDTEXT_LANG_GUARANI = 0x6E,
    CUEIFY_CDTEXT_LANG_GUJARATI = 0x6F,
    CUEIFY_CDTEXT_LANG_GREEK = 0x70,
    CUEIFY_CDTEXT_LANG_GEORGIAN = 0x71,
    CUEIFY_CDTEXT_LANG_FULAH = 0x72,
    CUEIFY_CDTEXT_LANG_DARI = 0x73,
    CUEIFY_CDTEXT_LANG_CHUVASH = 0x74,
    CUEIFY_CDTEXT_LANG_CHINESE = 0x75,
    CUEIFY_CDTEXT_LANG_BURMESE = 0x76,
    CUEIFY_CDTEXT_LANG_BULGARIAN = 0x77,
    CUEIFY_CDTEXT_LANG_BENGALI = 0x78,
    CUEIFY_CDTEXT_LANG_BELARUSIAN = 0x79,
    CUEIFY_CDTEXT_LANG_BAMBARA = 0x7A,
    CUEIFY_CDTEXT_LANG_AZERBAIJANI = 0x7B,
    CUEIFY_CDTEXT_LANG_ASSAMESE = 0x7C,
    CUEIFY_CDTEXT_LANG_ARMENIAN = 0x7D,
    CUEIFY_CDTEXT_LANG_ARABIC = 0x7E,
    CUEIFY_CDTEXT_LANG_AMHARIC = 0x7F
};

/** An empty CD-Text object (no block, no TOC), or NULL when memory runs out. */
cueify_cdtext *cueify_cdtext_new(void);

/**
 * Reads the disc's CD-Text into t. Returns CUEIFY_OK (a disc without CD-Text gives no block),
 * CUEIFY_ERR_BADARG for a null argument or a closed device, CUEIFY_ERR_INTERNAL when the
 * device cannot deliver it, or a code of cueify_cdtext_deserialize.
 */
int cueify_device_read_cdtext(cueify_device *d, cueify_cdtext *t);

/**
 * Fills t from CD-Text packs as READ TOC/PMA/ATIP format 0101b returns them: a 4-byte header
 * whose first two bytes give the length that follows them, then 18-byte packs. Returns
 * CUEIFY_OK, CUEIFY_ERR_BADARG, CUEIFY_ERR_TRUNCATED (shorter than its header says),
 * CUEIFY_ERR_CORRUPTED (not whole packs, or packs that contradict themselves: a TOC or block
 * whose last track comes before its first, an interval numbered 0 or past its count) or
 * CUEIFY_ERR_NOMEM. Packs of unknown types are skipped; CRCs are not checked. t is unchanged
 * on failure.
 */
int cueify_cdtext_deserialize(cueify_cdtext *t, const uint8_t * const buffer, size_t size);

/**
 * Writes t as packs in the layout cueify_cdtext_deserialize reads, with their CRCs. *size is the
 * capacity of buffer on entry and the bytes needed on return; a NULL buffer only asks for the
 * size. Returns CUEIFY_OK, CUEIFY_ERR_BADARG, CUEIFY_ERR_TOOSMALL, CUEIFY_ERR_INVALID_CDTEXT
 * (more than 256 packs in a block or 2048 in all) or CUEIFY_ERR_INTERNAL.
 */
int cueify_cdtext_serialize(cueify_cdtext *t, uint8_t *buffer, size_t *size);

/** Releases t and its blocks; NULL is ignored. */
void cueify_cdtext_free(cueify_cdtext *t);

/* The CD-Text copy of the table of contents; 0 or {0,0,0} where it holds nothing. Addresses
 * are absolute (track 1 of a normal disc starts at 00:02:00). */
uint8_t cueify_cdtext_get_toc_first_track(cueify_cdtext *t);
uint8_t cueify_cdtext_get_toc_last_track(cueify_cdtext *t);

/** The start of a track, or with CUEIFY_LEAD_OUT_TRACK the lead-out. */
cueify_msf_t cueify_cdtext_get_toc_track_offset(cueify_cdtext *t, uint8_t track);

uint8_t cueify_cdtext_get_toc_num_track_intervals(cueify_cdtext *t, uint8_t track);

/** Intervals of a track are numbered from 1 to cueify_cdtext_get_toc_num_track_intervals. */
cueify_msf_t cueify_cdtext_get_toc_track_interval_start(cueify_cdtext *t, uint8_t track, uint8_t interval);
cueify_msf_t cueify_cdtext_get_toc_track_interval_end(cueify_cdtext *t, uint8_t track, uint8_t interval);

/** The number of blocks t holds. */
uint8_t cueify_cdtext_get_num_blocks(cueify_cdtext *t);

/** The block-th block held, counted from 0 in ascending block numbers, or NULL. */
cueify_cdtext_block *cueify_cdtext_get_block(cueify_cdtext *t, uint8_t block);

uint8_t cueify_cdtext_block_get_first_track(cueify_cdtext_block *b);
uint8_t cueify_cdtext_block_get_last_track(cueify_cdtext_block *b);

/** One of the CUEIFY_CDTEXT_CHARSET_* values. */
uint8_t cueify_cdtext_block_get_charset(cueify_cdtext_block *b);

/** One of the CUEIFY_CDTEXT_LANG_* values. */
uint8_t cueify_cdtext_block_get_language(cueify_cdtext_block *b);

/* Flags of the block, 0 or 1. */
uint8_t cueify_cdtext_block_has_program_data(cueify_cdtext_block *b);
uint8_t cueify_cdtext_block_has_program_copyright(cueify_cdtext_block *b);
uint8_t cueify_cdtext_block_has_message_copyright(cueify_cdtext_block *b);
uint8_t cueify_cdtext_block_has_name_copyright(cueify_cdtext_block *b);
uint8_t cueify_cdtext_block_has_title_copyright(cueify_cdtext_block *b);

/*
 * Text of the disc (track CUEIFY_CDTEXT_ALBUM) or of a track of the block, as UTF-8 owned by
 * the CD-Text object. NULL when the block has no such text or the track is not in the block.
 * A track whose text is a single TAB has the text of the track before it.
 */
const char *cueify_cdtext_block_get_title(cueify_cdtext_block *b, uint8_t track);
const char *cueify_cdtext_block_get_performer(cueify_cdtext_block *b, uint8_t track);
const char *cueify_cdtext_block_get_songwriter(cueify_cdtext_block *b, uint8_t track);
const char *cueify_cdtext_block_get_composer(cueify_cdtext_block *b, uint8_t track);
const char *cueify_cdtext_block_get_arranger(cueify_cdtext_block *b, uint8_t track);
const char *cueify_cdtext_block_get_message(cueify_cdtext_block *b, uint8_t track);
const char *cueify_cdtext_block_get_private(cueify_cdtext_block *b, uint8_t track);

/** The UPC/EAN of the disc (CUEIFY_CDTEXT_ALBUM) or the ISRC of a track. */
const char *cueify_cdtext_block_get_upc_isrc(cueify_cdtext_block *b, uint8_t track);

/** The disc's catalogue number as CD-Text gives it, or NULL. */
const char *cueify_cdtext_block_get_discid(cueify_cdtext_block *b);

/** The genre code (0 when none is given) and the genre text, or NULL. */
uint16_t cueify_cdtext_block_get_genre_code(cueify_cdtext_block *b);
const char *cueify_cdtext_block_get_genre_name(cueify_cdtext_block *b);

#ifdef __cplusplus
}
#endif

#endif /* _CUEIFY_CDTEXT_H */
