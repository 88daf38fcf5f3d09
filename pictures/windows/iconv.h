#pragma once
/* MinGW has no iconv. libuemf converts text between UTF-8, UTF-16LE,
   UTF-32LE and Latin-1 with it (a record's text, a font's name): this small
   one does those four, code point by code point, and refuses any other. A
   code point Latin-1 lacks becomes "?" (what //TRANSLIT asks for at least);
   a malformed sequence fails with EILSEQ, a full output with E2BIG. */
#include <errno.h>
#include <stddef.h>
#include <string.h>

typedef void* iconv_t;

enum { KAV_ICONV_UTF8 = 1, KAV_ICONV_UTF16LE, KAV_ICONV_UTF32LE, KAV_ICONV_LATIN1 };

static inline int kav_iconv_kind(const char* name) {
  if (strncmp(name, "UTF-8", 5) == 0) return KAV_ICONV_UTF8;
  if (strncmp(name, "UTF-16LE", 8) == 0) return KAV_ICONV_UTF16LE;
  if (strncmp(name, "UTF-32LE", 8) == 0) return KAV_ICONV_UTF32LE;
  if (strncmp(name, "LATIN1", 6) == 0) return KAV_ICONV_LATIN1;
  return 0;
}

static inline iconv_t iconv_open(const char* to, const char* from) {
  const int t = kav_iconv_kind(to), f = kav_iconv_kind(from);
  if (t == 0 || f == 0) {
    errno = EINVAL;
    return (iconv_t)-1;
  }
  return (iconv_t)(size_t)(t * 8 + f);
}

static inline int iconv_close(iconv_t cd) {
  (void)cd;
  return 0;
}

/* Reads one code point; its length in bytes, 0 when the input ends inside
   it, -1 when it is malformed. */
static inline int kav_iconv_read(int kind, const unsigned char* in, size_t left, unsigned* cp) {
  switch (kind) {
    case KAV_ICONV_LATIN1:
      *cp = in[0];
      return 1;
    case KAV_ICONV_UTF32LE:
      if (left < 4) return 0;
      *cp = in[0] | in[1] << 8 | in[2] << 16 | (unsigned)in[3] << 24;
      return *cp > 0x10FFFF || (*cp >= 0xD800 && *cp < 0xE000) ? -1 : 4;
    case KAV_ICONV_UTF16LE: {
      if (left < 2) return 0;
      unsigned unit = in[0] | in[1] << 8;
      if (unit >= 0xDC00 && unit < 0xE000) return -1;
      if (unit < 0xD800 || unit >= 0xE000) {
        *cp = unit;
        return 2;
      }
      if (left < 4) return 0;
      unsigned low = in[2] | in[3] << 8;
      if (low < 0xDC00 || low >= 0xE000) return -1;
      *cp = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      return 4;
    }
    default: {
      const unsigned lead = in[0];
      int length = lead < 0x80                   ? 1
                   : lead >= 0xC2 && lead < 0xE0 ? 2
                   : lead >= 0xE0 && lead < 0xF0 ? 3
                   : lead >= 0xF0 && lead < 0xF5 ? 4
                                                 : -1;
      if (length < 0) return -1;
      if ((size_t)length > left) return 0;
      *cp = length == 1 ? lead : lead & (0x7F >> length);
      for (int i = 1; i < length; ++i) {
        if ((in[i] & 0xC0) != 0x80) return -1;
        *cp = *cp << 6 | (in[i] & 0x3F);
      }
      static const unsigned least[] = {0, 0, 0x80, 0x800, 0x10000};
      if (*cp < least[length] || *cp > 0x10FFFF || (*cp >= 0xD800 && *cp < 0xE000)) return -1;
      return length;
    }
  }
}

/* Writes one code point into `out` (room for 4 bytes); its length. */
static inline int kav_iconv_write(int kind, unsigned cp, unsigned char* out) {
  switch (kind) {
    case KAV_ICONV_LATIN1:
      out[0] = (unsigned char)(cp < 0x100 ? cp : '?');
      return 1;
    case KAV_ICONV_UTF32LE:
      out[0] = cp & 0xFF, out[1] = cp >> 8 & 0xFF, out[2] = cp >> 16 & 0xFF, out[3] = cp >> 24;
      return 4;
    case KAV_ICONV_UTF16LE:
      if (cp < 0x10000) {
        out[0] = cp & 0xFF, out[1] = cp >> 8;
        return 2;
      } else {
        const unsigned high = 0xD800 + ((cp - 0x10000) >> 10), low = 0xDC00 + (cp & 0x3FF);
        out[0] = high & 0xFF, out[1] = high >> 8, out[2] = low & 0xFF, out[3] = low >> 8;
        return 4;
      }
    default:
      if (cp < 0x80) {
        out[0] = (unsigned char)cp;
        return 1;
      }
      if (cp < 0x800) {
        out[0] = 0xC0 | cp >> 6, out[1] = 0x80 | (cp & 0x3F);
        return 2;
      }
      if (cp < 0x10000) {
        out[0] = 0xE0 | cp >> 12, out[1] = 0x80 | (cp >> 6 & 0x3F), out[2] = 0x80 | (cp & 0x3F);
        return 3;
      }
      out[0] = 0xF0 | cp >> 18, out[1] = 0x80 | (cp >> 12 & 0x3F);
      out[2] = 0x80 | (cp >> 6 & 0x3F), out[3] = 0x80 | (cp & 0x3F);
      return 4;
  }
}

static inline size_t iconv(iconv_t cd, char** in, size_t* inLeft, char** out, size_t* outLeft) {
  const int kinds = (int)(size_t)cd, to = kinds / 8, from = kinds % 8;
  if (in == NULL || *in == NULL) return 0; /* no shift state to reset */
  while (*inLeft > 0) {
    unsigned cp = 0;
    const int read = kav_iconv_read(from, (const unsigned char*)*in, *inLeft, &cp);
    if (read <= 0) {
      errno = read == 0 ? EINVAL : EILSEQ;
      return (size_t)-1;
    }
    unsigned char bytes[4];
    const int written = kav_iconv_write(to, cp, bytes);
    if ((size_t)written > *outLeft) {
      errno = E2BIG;
      return (size_t)-1;
    }
    memcpy(*out, bytes, (size_t)written);
    *out += written, *outLeft -= (size_t)written;
    *in += read, *inLeft -= (size_t)read;
  }
  return 0;
}
