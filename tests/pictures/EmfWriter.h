#pragma once
// Test metafiles written with libuemf's own record writers.
#include <uemf.h>
#include <uemf_utf.h>

#include <cstdlib>
#include <string>

class TEmfWriter {
 public:
  // A picture whose bounds are width x height pixels of a 96 dpi device.
  TEmfWriter(int width, int height) {
    emf_start("/dev/null", 4096, 4096, &et_);  // kept in memory; the file is not used
    emf_htable_create(32, 32, &eht_);
    const U_RECTL bounds{0, 0, width - 1, height - 1};
    const U_RECTL frame{0, 0, width * 2540 / 96, height * 2540 / 96};
    Add(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, sizel_set(960, 960),
                        sizel_set(254, 254), 0));
  }
  ~TEmfWriter() {
    emf_free(&et_);
    emf_htable_free(&eht_);
  }
  TEmfWriter(const TEmfWriter&) = delete;
  TEmfWriter& operator=(const TEmfWriter&) = delete;

  TEmfWriter& Add(char* record) {
    emf_append(reinterpret_cast<PU_ENHMETARECORD>(record), et_, U_REC_FREE);
    return *this;
  }
  TEmfWriter& Brush(uint8_t r, uint8_t g, uint8_t b, uint32_t style = U_BS_SOLID,
                    int32_t hatch = 0) {
    Add(createbrushindirect_set(&made_, eht_, logbrush_set(style, colorref3_set(r, g, b), hatch)));
    return SelectMade();
  }
  TEmfWriter& Pen(uint8_t r, uint8_t g, uint8_t b, int width) {
    Add(createpen_set(&made_, eht_,
                      logpen_set(U_PS_SOLID, point32_set(width, 0), colorref3_set(r, g, b))));
    return SelectMade();
  }
  TEmfWriter& ExtPen(uint32_t style, uint32_t width, uint32_t brushStyle) {
    PU_EXTLOGPEN pen =
        extlogpen_set(style, width, brushStyle, colorref3_set(0, 0, 0), 0, 0, nullptr);
    Add(extcreatepen_set(&made_, eht_, nullptr, 0, nullptr, pen));
    std::free(pen);
    return SelectMade();
  }
  TEmfWriter& Font(const char* face, int height, bool italic = false, bool underline = false,
                   bool strikeOut = false) {
    uint16_t* name = U_Utf8ToUtf16le(face, 0, nullptr);
    const U_LOGFONT font = logfont_set(height, 0, 0, 0, 400, italic, underline, strikeOut,
                                       U_ANSI_CHARSET, 0, 0, 0, 0, name);
    std::free(name);
    Add(extcreatefontindirectw_set(&made_, eht_, reinterpret_cast<const char*>(&font), nullptr));
    return SelectMade();
  }
  TEmfWriter& Text(int x, int y, const char* utf8) {
    size_t length = 0;
    uint16_t* text = U_Utf8ToUtf16le(utf8, 0, &length);
    uint32_t* dx = dx_set(-20, 400, static_cast<uint32_t>(length));
    char* emrtext = emrtext_set(point32_set(x, y), static_cast<uint32_t>(length), 2, text,
                                U_ETO_NONE, U_RCL_DEF, dx);
    Add(U_EMREXTTEXTOUTW_set(U_RCL_DEF, U_GM_COMPATIBLE, 1, 1,
                             reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(emrtext);
    std::free(dx);
    std::free(text);
    return *this;
  }
  // A bottom-up 24-bit bitmap of 2 x 2 pixels, colours given top row first
  // as 0xRRGGBB, stretched onto (x, y, w, h); `rows` from the bottom up, or
  // from the top as a block transfer (`blt`) counts them.
  TEmfWriter& Bitmap(int x, int y, int w, int h, const uint32_t (&colors)[4], int rows = 2,
                     bool blt = false) {
    char bits[16] = {};  // rows of 8 bytes, the bottom row first; byte i % 3 of pixel i / 3
    for (int i = 0; i < 12; ++i)
      bits[(1 - i / 6) * 8 + i % 6] = char(colors[i / 3] >> (8 * (i % 3)));
    PU_BITMAPINFO info =
        bitmapinfo_set(bitmapinfoheader_set(2, 2, 1, 24, U_BI_RGB, 16, 0, 0, 0, 0), nullptr);
    if (blt)
      Add(U_EMRSTRETCHBLT_set(U_RCL_DEF, point32_set(x, y), point32_set(w, h), point32_set(0, 0),
                              point32_set(2, rows), xform_set(1, 0, 0, 1, 0, 0),
                              colorref3_set(0, 0, 0), U_DIB_RGB_COLORS, U_SRCCOPY, info, 16, bits));
    else
      Add(U_EMRSTRETCHDIBITS_set(U_RCL_DEF, point32_set(x, y), point32_set(w, h), point32_set(0, 0),
                                 point32_set(2, rows), U_DIB_RGB_COLORS, U_SRCCOPY, info, 16,
                                 bits));
    std::free(info);
    return *this;
  }

  std::string Finish() {
    Add(U_EMREOF_set(0, nullptr, et_));
    emf_finish(et_, eht_);
    return std::string(et_->buf, et_->used);
  }

 private:
  TEmfWriter& SelectMade() { return Add(selectobject_set(made_, eht_)); }

  EMFTRACK* et_ = nullptr;
  EMFHANDLES* eht_ = nullptr;
  uint32_t made_ = 0;  // the handle of the object made last
};
