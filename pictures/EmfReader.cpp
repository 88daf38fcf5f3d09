#include "pictures/EmfReader.h"

#include <uemf.h>
#include <uemf_safe.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <variant>

#include "pictures/ClippedCanvas.h"
#include "platform/Cp1252.h"
#include "platform/Error.h"

namespace {

[[noreturn]] void Invalid() {
  throw EKavError("Metafile is not valid");
}

// Output coordinates are held inside this, far beyond any picture yet within
// the painter's fixed-point range.
constexpr double kFar = 4e6;
constexpr size_t kMaxSavedStates = 4096;
constexpr uint64_t kMaxBitmapPixels = uint64_t{1} << 24;
// Zeros after each record's copy, more than the largest fixed part of a
// record, so that no check (ours or the library's) reads past the copy.
constexpr size_t kPadding = 512;
// A positive font height is the character cell, which has some room above
// the em.
constexpr double kEmPerCell = 0.85;

constexpr uint32_t kPatCopy = 0x00F00021, kBlackness = 0x00000042, kWhiteness = 0x00FF0062;
constexpr uint32_t kDcBrush = 0x80000012, kDcPen = 0x80000013;

TEmfColor Color(const U_COLORREF& c) {
  return {c.Red, c.Green, c.Blue};
}

// UTF-16LE text, which may lie at any byte.
std::string Utf8(const char* bytes, size_t count) {
  auto unit = [&](size_t i) {
    uint16_t u;
    std::memcpy(&u, bytes + 2 * i, 2);
    return uint32_t{u};
  };
  std::string out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    uint32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < count && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

struct THeader {
  // The picture's rectangle on the reference device, in its pixels.
  double left = 0, top = 0, width = 1, height = 1;
  double pxPerMmX = 96 / 25.4, pxPerMmY = 96 / 25.4;
  TEmfBounds natural;
};

int Saturated(double v) {
  return static_cast<int>(std::clamp(std::round(v), 1.0, 2147483647.0));
}

THeader ReadHeader(std::string_view bytes) {
  U_EMRHEADER h{};
  if (bytes.size() < U_SIZE_EMRHEADER_MIN) Invalid();
  std::memcpy(&h, bytes.data(), U_SIZE_EMRHEADER_MIN);
  if (h.emr.iType != U_EMR_HEADER || h.emr.nSize < U_SIZE_EMRHEADER_MIN || h.emr.nSize % 4 != 0 ||
      h.emr.nSize > bytes.size() || h.dSignature != U_ENHMETA_SIGNATURE)
    Invalid();
  THeader out;
  if (h.szlDevice.cx > 0 && h.szlDevice.cy > 0 && h.szlMillimeters.cx > 0 &&
      h.szlMillimeters.cy > 0) {
    out.pxPerMmX = double(h.szlDevice.cx) / h.szlMillimeters.cx;
    out.pxPerMmY = double(h.szlDevice.cy) / h.szlMillimeters.cy;
  }
  const U_RECTL& b = h.rclBounds;
  const U_RECTL& f = h.rclFrame;
  if (b.right > b.left && b.bottom > b.top) {
    // Bounds hold their last pixel.
    out.left = b.left;
    out.top = b.top;
    out.width = double(b.right) - b.left + 1;
    out.height = double(b.bottom) - b.top + 1;
    out.natural = {Saturated(out.width), Saturated(out.height)};
  } else if (f.right > f.left && f.bottom > f.top) {
    // The frame is in hundredths of a millimetre.
    out.left = f.left * out.pxPerMmX / 100;
    out.top = f.top * out.pxPerMmY / 100;
    out.width = (double(f.right) - f.left) * out.pxPerMmX / 100;
    out.height = (double(f.bottom) - f.top) * out.pxPerMmY / 100;
    out.natural = {Saturated((double(f.right) - f.left) * 96 / 2540),
                   Saturated((double(f.bottom) - f.top) * 96 / 2540)};
  } else {
    Invalid();
  }
  return out;
}

struct TPenDef {
  TEmfPen pen;
  double logicalWidth = 0;  // 0: one output pixel whatever the scale
};
struct TFontDef {
  TEmfFont font;
  double logicalHeight = 12;  // em height
};
using TObject = std::variant<TPenDef, TEmfBrush, TFontDef>;

struct TState {
  uint32_t mapMode = U_MM_TEXT;
  double wox = 0, woy = 0, wex = 1, wey = 1, vox = 0, voy = 0, vex = 1, vey = 1;
  double curX = 0, curY = 0;  // logical
  TPenDef pen;
  TEmfBrush brush;
  TFontDef font;
  TEmfColor textColor, bkColor{255, 255, 255};
  bool opaque = true, winding = false;
  uint32_t textAlign = 0;
};

// out = logical * scale + offset, per axis.
struct TMapping {
  double sx, sy, dx, dy;
};

class TPlayer {
 public:
  TPlayer(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas)
      : bytes_(bytes), header_(ReadHeader(bytes)), canvas_(canvas, outWidth, outHeight) {
    kx_ = outWidth / header_.width;
    ky_ = outHeight / header_.height;
  }

  void Play() {
    size_t at = 0;
    for (;;) {
      if (bytes_.size() - at < 8) Invalid();  // no EOF record: cut short
      uint32_t type, size;
      std::memcpy(&type, bytes_.data() + at, 4);
      std::memcpy(&size, bytes_.data() + at + 4, 4);
      if (size < 8 || size % 4 != 0 || size > bytes_.size() - at) Invalid();
      // An aligned copy: records are read through the library's structures.
      scratch_.assign((size + kPadding) / 4, 0);
      std::memcpy(scratch_.data(), bytes_.data() + at, size);
      rec_ = reinterpret_cast<const char*>(scratch_.data());
      size_ = size;
      if (type == U_EMR_EOF) {
        Rec<U_EMREOF>();
        return;
      }
      if (at == 0)
        Rec<U_EMRHEADER>();  // the first record, read already
      else
        Record(type);
      at += size;
    }
  }

 private:
  // The record as the library's structure, after the library's own check of
  // its fixed part and of the counts and offsets it knows.
  template <typename T>
  const T& Rec() {
    if (U_emf_record_safe(rec_) == 0) Invalid();
    return *reinterpret_cast<const T*>(rec_);
  }
  // `count` items of `item` bytes at `offset` lie within the record.
  void Need(uint64_t offset, uint64_t count, uint64_t item) const {
    if (offset > size_ || (item != 0 && count > (size_ - offset) / item)) Invalid();
  }

  TMapping Mapping() const {
    double ux = 1, uy = 1;  // logical to device units
    const double mm[] = {0.1, 0.01, 0.254, 0.0254, 25.4 / 1440};
    if (st_.mapMode >= U_MM_LOMETRIC && st_.mapMode <= U_MM_TWIPS) {
      ux = header_.pxPerMmX * mm[st_.mapMode - U_MM_LOMETRIC];
      uy = -header_.pxPerMmY * mm[st_.mapMode - U_MM_LOMETRIC];
    } else if (st_.mapMode == U_MM_ISOTROPIC || st_.mapMode == U_MM_ANISOTROPIC) {
      ux = st_.vex / st_.wex;
      uy = st_.vey / st_.wey;
      if (st_.mapMode == U_MM_ISOTROPIC) {
        const double m = std::min(std::abs(ux), std::abs(uy));
        ux = std::copysign(m, ux);
        uy = std::copysign(m, uy);
      }
    }
    return {ux * kx_, uy * ky_, (st_.vox - st_.wox * ux - header_.left) * kx_,
            (st_.voy - st_.woy * uy - header_.top) * ky_};
  }
  TEmfPoint Map(double x, double y) const {
    const TMapping m = Mapping();
    return {std::clamp(x * m.sx + m.dx, -kFar, kFar), std::clamp(y * m.sy + m.dy, -kFar, kFar)};
  }
  TEmfRect Box(const U_RECTL& r) const {
    const TEmfPoint a = Map(r.left, r.top), b = Map(r.right, r.bottom);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  }
  double Size(double logical, bool vertical) const {
    const TMapping m = Mapping();
    return std::min(std::abs(logical * (vertical ? m.sy : m.sx)), canvas_.Margin());
  }

  void Prepare() {
    TEmfPen pen = st_.pen.pen;
    pen.width = std::max(1.0, Size(st_.pen.logicalWidth, false));
    canvas_.SetPen(pen);
    canvas_.SetBrush(st_.brush, st_.bkColor, st_.opaque);
  }

  std::vector<TEmfPoint> Points(uint64_t offset, uint64_t count, bool small) {
    Need(offset, count, small ? 4 : 8);
    std::vector<TEmfPoint> points;
    points.reserve(count);
    for (uint64_t i = 0; i < count; ++i) {
      if (small) {
        const auto& p = reinterpret_cast<const U_POINT16*>(rec_ + offset)[i];
        points.push_back(Map(p.x, p.y));
      } else {
        const auto& p = reinterpret_cast<const U_POINTL*>(rec_ + offset)[i];
        points.push_back(Map(p.x, p.y));
      }
    }
    return points;
  }
  void SetCurrent(const char* point, bool small) {
    if (small) {
      const auto* p = reinterpret_cast<const U_POINT16*>(point);
      st_.curX = p->x, st_.curY = p->y;
    } else {
      const auto* p = reinterpret_cast<const U_POINTL*>(point);
      st_.curX = p->x, st_.curY = p->y;
    }
  }

  // Types 2-6 and 85-89: one run of points.
  void Poly(uint32_t kind, bool small) {
    const uint32_t count = small ? Rec<U_EMRPOLYLINE16>().cpts : Rec<U_EMRPOLYLINE>().cptl;
    const size_t offset = small ? offsetof(U_EMRPOLYLINE16, apts) : offsetof(U_EMRPOLYLINE, aptl);
    std::vector<TEmfPoint> points = Points(offset, count, small);
    if (kind == U_EMR_POLYBEZIERTO || kind == U_EMR_POLYLINETO) {
      if (count == 0) return;
      points.insert(points.begin(), Map(st_.curX, st_.curY));
      SetCurrent(rec_ + offset + (count - 1) * (small ? 4 : 8), small);
    }
    Prepare();
    if (kind == U_EMR_POLYBEZIER || kind == U_EMR_POLYBEZIERTO) {
      canvas_.DrawBeziers(points);
    } else if (kind == U_EMR_POLYGON) {
      if (points.size() >= 2) canvas_.DrawPolygons({points}, st_.winding);
    } else {
      canvas_.DrawPolyline(points);
    }
  }

  // Types 7, 8, 90 and 91: runs of points, counted first.
  void PolyPoly(bool polygons, bool small) {
    const auto& r = Rec<U_EMRPOLYPOLYLINE>();  // the same layout in both sizes
    const size_t countsAt = offsetof(U_EMRPOLYPOLYLINE, aPolyCounts);
    Need(countsAt, r.nPolys, 4);
    const uint32_t* counts = reinterpret_cast<const uint32_t*>(rec_ + countsAt);
    uint64_t total = 0;
    for (uint32_t i = 0; i < r.nPolys; ++i)
      total += counts[i];
    if (total != r.cptl) Invalid();
    const std::vector<TEmfPoint> all = Points(countsAt + uint64_t{4} * r.nPolys, total, small);
    std::vector<std::vector<TEmfPoint>> runs;
    auto from = all.begin();
    for (uint32_t i = 0; i < r.nPolys; ++i) {
      runs.emplace_back(from, from + counts[i]);
      from += counts[i];
    }
    Prepare();
    if (polygons) {
      canvas_.DrawPolygons(runs, st_.winding);
    } else {
      for (const auto& run : runs)
        canvas_.DrawPolyline(run);
    }
  }

  void Arc(TEmfArc kind) {
    const auto& r = Rec<U_EMRARC>();
    const TEmfRect box = Box(r.rclBox);
    const double rx = (box.right - box.left) / 2, ry = (box.bottom - box.top) / 2;
    if (rx <= 0 || ry <= 0) return;
    const double cx = box.left + rx, cy = box.top + ry;
    auto angle = [&](const U_POINTL& p) {
      const TEmfPoint q = Map(p.x, p.y);
      return std::atan2(-(q.y - cy) / ry, (q.x - cx) / rx) * 180 / std::numbers::pi;
    };
    const double start = angle(r.ptlStart);
    double sweep = std::fmod(angle(r.ptlEnd) - start, 360.0);
    if (sweep <= 0) sweep += 360;  // counter-clockwise; the same point twice is a whole turn
    Prepare();
    canvas_.DrawArc(box, start, sweep, kind);
  }

  // An ellipse, or a rectangle with corners of a quarter ellipse each.
  void Rounded(bool ellipse) {
    const auto& r = Rec<U_EMRROUNDRECT>();  // begins as an ellipse record
    const TEmfRect box = Box(r.rclBox);
    Prepare();
    if (ellipse) return canvas_.DrawEllipse(box);
    canvas_.DrawRoundRect(box, Size(r.szlCorner.cx, false) / 2, Size(r.szlCorner.cy, true) / 2);
  }

  void Select(uint32_t index) {
    auto brush = [&](TEmfFill fill, uint8_t grey) { st_.brush = {fill, {grey, grey, grey}, 0}; };
    auto pen = [&](TEmfLineStyle style, uint8_t grey) {
      st_.pen = {};
      st_.pen.pen.style = style;
      st_.pen.pen.color = {grey, grey, grey};
    };
    switch (index) {
      case U_WHITE_BRUSH:
      case kDcBrush:
        return brush(TEmfFill::Solid, 255);
      case U_LTGRAY_BRUSH:
        return brush(TEmfFill::Solid, 192);
      case U_GRAY_BRUSH:
        return brush(TEmfFill::Solid, 128);
      case U_DKGRAY_BRUSH:
        return brush(TEmfFill::Solid, 64);
      case U_BLACK_BRUSH:
        return brush(TEmfFill::Solid, 0);
      case U_NULL_BRUSH:
        return brush(TEmfFill::None, 0);
      case U_WHITE_PEN:
        return pen(TEmfLineStyle::Solid, 255);
      case U_BLACK_PEN:
      case kDcPen:
        return pen(TEmfLineStyle::Solid, 0);
      case U_NULL_PEN:
        return pen(TEmfLineStyle::None, 0);
      case U_OEM_FIXED_FONT:
      case U_ANSI_FIXED_FONT:
      case U_ANSI_VAR_FONT:
      case U_SYSTEM_FONT:
      case U_DEVICE_DEFAULT_FONT:
      case U_DEFAULT_GUI_FONT:
        st_.font = {};
        return;
    }
    const auto found = objects_.find(index);
    if (found == objects_.end()) return;
    if (const auto* p = std::get_if<TPenDef>(&found->second)) st_.pen = *p;
    if (const auto* b = std::get_if<TEmfBrush>(&found->second)) st_.brush = *b;
    if (const auto* f = std::get_if<TFontDef>(&found->second)) st_.font = *f;
  }

  static TEmfLineStyle LineStyle(uint32_t style) {
    switch (style & U_PS_STYLE_MASK) {
      case 1:
        return TEmfLineStyle::Dash;
      case 2:
      case 8:  // alternate pixels
        return TEmfLineStyle::Dot;
      case 3:
        return TEmfLineStyle::DashDot;
      case 4:
        return TEmfLineStyle::DashDotDot;
      case 5:
        return TEmfLineStyle::None;
      default:  // inside frame, user styles
        return TEmfLineStyle::Solid;
    }
  }

  void CreatePen() {
    const auto& r = Rec<U_EMRCREATEPEN>();
    TPenDef pen;
    pen.pen.style = LineStyle(r.lopn.lopnStyle);
    pen.pen.color = Color(r.lopn.lopnColor);
    pen.logicalWidth = std::max(0, r.lopn.lopnWidth.x);
    objects_[r.ihPen] = pen;
  }

  void ExtCreatePen() {
    const auto& r = Rec<U_EMREXTCREATEPEN>();
    const uint32_t style = r.elp.elpPenStyle;
    TPenDef pen;
    pen.pen.style = r.elp.elpBrushStyle == U_BS_NULL ? TEmfLineStyle::None : LineStyle(style);
    pen.pen.color = Color(r.elp.elpColor);
    if (style & U_PS_GEOMETRIC) pen.logicalWidth = std::min<uint32_t>(r.elp.elpWidth, 1u << 30);
    const uint32_t cap = style & U_PS_ENDCAP_MASK, join = style & U_PS_JOIN_MASK;
    pen.pen.cap = cap == U_PS_ENDCAP_SQUARE ? TEmfCap::Square
                  : cap == U_PS_ENDCAP_FLAT ? TEmfCap::Flat
                                            : TEmfCap::Round;
    pen.pen.join = join == U_PS_JOIN_BEVEL   ? TEmfJoin::Bevel
                   : join == U_PS_JOIN_MITER ? TEmfJoin::Miter
                                             : TEmfJoin::Round;
    objects_[r.ihPen] = pen;
  }

  void CreateBrush() {
    const auto& r = Rec<U_EMRCREATEBRUSHINDIRECT>();
    TEmfBrush brush;
    brush.color = Color(r.lb.lbColor);
    // Hatches past the six line patterns are solid colours.
    brush.fill = r.lb.lbStyle == U_BS_NULL                           ? TEmfFill::None
                 : r.lb.lbStyle == U_BS_HATCHED && r.lb.lbHatch <= 5 ? TEmfFill::Hatched
                                                                     : TEmfFill::Solid;
    brush.hatch = brush.fill == TEmfFill::Hatched ? static_cast<int>(r.lb.lbHatch) : 0;
    objects_[r.ihBrush] = brush;
  }

  void CreateFont() {
    const auto& r = Rec<U_EMREXTCREATEFONTINDIRECTW>();
    const U_LOGFONT& lf = r.elfw.elfLogFont;
    TFontDef font;
    size_t length = 0;
    while (length < U_LF_FACESIZE && lf.lfFaceName[length] != 0)
      ++length;
    font.font.face = Utf8(reinterpret_cast<const char*>(lf.lfFaceName), length);
    font.logicalHeight = lf.lfHeight < 0   ? -double(lf.lfHeight)
                         : lf.lfHeight > 0 ? lf.lfHeight * kEmPerCell
                                           : 12;
    font.font.weight = std::clamp(lf.lfWeight, 0, 1000);
    font.font.italic = lf.lfItalic != 0;
    font.font.underline = lf.lfUnderline != 0;
    font.font.strikeOut = lf.lfStrikeOut != 0;
    font.font.angle = std::fmod(lf.lfEscapement / 10.0, 360.0);
    objects_[r.ihFont] = font;
  }

  void Text(bool wide) {
    const auto& r = Rec<U_EMREXTTEXTOUTW>();  // the same layout for both
    const U_EMRTEXT& t = r.emrtext;
    if (!(t.fOptions & U_ETO_NO_RECT)) {
      Need(sizeof(U_EMREXTTEXTOUTW), 1, sizeof(U_RECTL));
      const auto* rect = reinterpret_cast<const U_RECTL*>(rec_ + sizeof(U_EMREXTTEXTOUTW));
      if (t.fOptions & U_ETO_OPAQUE) canvas_.FillRect(Box(*rect), st_.bkColor);
    }
    Need(t.offString, t.nChars, wide ? 2 : 1);
    if (t.fOptions & U_ETO_GLYPH_INDEX) return;  // glyphs of a font we do not have
    TEmfText text;
    text.utf8 = wide ? Utf8(rec_ + t.offString, t.nChars)
                     : Utf8FromAnsi(std::string_view(rec_ + t.offString, t.nChars));
    if (st_.textAlign & U_TA_UPDATECP)
      text.at = Map(st_.curX, st_.curY);
    else
      text.at = Map(t.ptlReference.x, t.ptlReference.y);
    text.font = st_.font.font;
    text.font.height = std::max(1.0, Size(st_.font.logicalHeight, true));
    text.color = st_.textColor;
    text.background = st_.bkColor;
    text.opaque = st_.opaque;
    const uint32_t h = st_.textAlign & U_TA_CENTER, v = st_.textAlign & U_TA_BASELINE;
    text.hAlign = h == U_TA_CENTER  ? TEmfHAlign::Center
                  : h == U_TA_RIGHT ? TEmfHAlign::Right
                                    : TEmfHAlign::Left;
    text.vAlign = v == U_TA_BASELINE ? TEmfVAlign::Baseline
                  : v == U_TA_BOTTOM ? TEmfVAlign::Bottom
                                     : TEmfVAlign::Top;
    canvas_.DrawText(text);
  }

  // A device-independent bitmap in the record, its rectangle (sx, sy, sw,
  // sh) drawn onto `target`; `bottomUpSource` when the rectangle counts rows
  // from the bottom of a bottom-up bitmap.
  void Bitmap(const TEmfRect& target, uint32_t usage, uint32_t offBmi, uint32_t cbBmi,
              uint32_t offBits, uint32_t cbBits, int64_t sx, int64_t sy, int64_t sw, int64_t sh,
              bool bottomUpSource) {
    Need(offBmi, 1, cbBmi);
    Need(offBits, 1, cbBits);
    if (cbBmi < sizeof(U_BITMAPINFOHEADER)) Invalid();
    U_BITMAPINFOHEADER bi;
    std::memcpy(&bi, rec_ + offBmi, sizeof bi);
    if (bi.biSize < sizeof bi || bi.biSize > cbBmi || bi.biWidth <= 0 || bi.biHeight == 0)
      Invalid();
    const int64_t width = bi.biWidth, height = std::abs(int64_t{bi.biHeight});
    const uint32_t bits = bi.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return;
    if (bi.biCompression != U_BI_RGB || usage != U_DIB_RGB_COLORS) return;
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    if (stride * uint64_t(height) > cbBits) Invalid();
    std::vector<uint32_t> palette;
    if (bits <= 8) {
      const uint32_t colors = bi.biClrUsed == 0 ? 1u << bits : std::min(bi.biClrUsed, 1u << bits);
      if (colors > (cbBmi - bi.biSize) / 4) Invalid();
      const auto* quads = reinterpret_cast<const U_RGBQUAD*>(rec_ + offBmi + bi.biSize);
      for (uint32_t i = 0; i < colors; ++i)
        palette.push_back(0xFF000000u | quads[i].Red << 16 | quads[i].Green << 8 | quads[i].Blue);
    }
    if (bottomUpSource && bi.biHeight > 0) sy = height - sy - sh;
    const int64_t x0 = std::clamp<int64_t>(sx, 0, width),
                  x1 = std::clamp<int64_t>(sx + sw, 0, width);
    const int64_t y0 = std::clamp<int64_t>(sy, 0, height),
                  y1 = std::clamp<int64_t>(sy + sh, 0, height);
    if (x1 <= x0 || y1 <= y0 || uint64_t(x1 - x0) * uint64_t(y1 - y0) > kMaxBitmapPixels) return;
    std::vector<uint32_t> pixels;
    pixels.reserve((x1 - x0) * (y1 - y0));
    for (int64_t y = y0; y < y1; ++y) {
      const auto* row = reinterpret_cast<const uint8_t*>(rec_) + offBits +
                        stride * uint64_t(bi.biHeight > 0 ? height - 1 - y : y);
      for (int64_t x = x0; x < x1; ++x) {
        uint32_t argb = 0xFF000000u;
        if (bits <= 8) {
          const uint32_t index =
              (row[x * bits / 8] >> (8 - bits - x * bits % 8)) & ((1u << bits) - 1);
          if (index < palette.size()) argb = palette[index];
        } else if (bits == 16) {  // 5-5-5
          const uint32_t v = row[x * 2] | row[x * 2 + 1] << 8;
          argb |= ((v >> 10) & 31) * 255 / 31 << 16 | ((v >> 5) & 31) * 255 / 31 << 8 |
                  (v & 31) * 255 / 31;
        } else {
          const uint8_t* p = row + x * (bits / 8);
          argb |= uint32_t(p[2]) << 16 | p[1] << 8 | p[0];
        }
        pixels.push_back(argb);
      }
    }
    canvas_.DrawBitmap(target, int(x1 - x0), int(y1 - y0), pixels);
  }

  TEmfRect DestRect(const U_POINTL& at, const U_POINTL& size) const {
    return Box({at.x, at.y,
                int32_t(std::clamp<int64_t>(int64_t{at.x} + size.x, INT32_MIN, INT32_MAX)),
                int32_t(std::clamp<int64_t>(int64_t{at.y} + size.y, INT32_MIN, INT32_MAX))});
  }

  // Bit-block transfers: a bitmap, or with none a fill by raster operation.
  template <typename T>
  void Blt(const T& r, int32_t sw, int32_t sh) {
    const TEmfRect target = DestRect(r.Dest, r.cDest);
    if (r.cbBmiSrc != 0) {
      Bitmap(target, r.iUsageSrc, r.offBmiSrc, r.cbBmiSrc, r.offBitsSrc, r.cbBitsSrc, r.Src.x,
             r.Src.y, sw, sh, false);
    } else if (r.dwRop == kBlackness || r.dwRop == kWhiteness) {
      const uint8_t v = r.dwRop == kBlackness ? 0 : 255;
      canvas_.FillRect(target, {v, v, v});
    } else if (r.dwRop == kPatCopy) {
      Prepare();
      TEmfPen none;
      none.style = TEmfLineStyle::None;
      canvas_.SetPen(none);
      canvas_.DrawRect(target);
    }
  }

  void Record(uint32_t type) {
    switch (type) {
      case U_EMR_POLYBEZIER:
      case U_EMR_POLYGON:
      case U_EMR_POLYLINE:
      case U_EMR_POLYBEZIERTO:
      case U_EMR_POLYLINETO:
        return Poly(type, false);
      case U_EMR_POLYBEZIER16:
      case U_EMR_POLYGON16:
      case U_EMR_POLYLINE16:
      case U_EMR_POLYBEZIERTO16:
      case U_EMR_POLYLINETO16:
        return Poly(type - U_EMR_POLYBEZIER16 + U_EMR_POLYBEZIER, true);
      case U_EMR_POLYPOLYLINE:
      case U_EMR_POLYPOLYGON:
        return PolyPoly(type == U_EMR_POLYPOLYGON, false);
      case U_EMR_POLYPOLYLINE16:
      case U_EMR_POLYPOLYGON16:
        return PolyPoly(type == U_EMR_POLYPOLYGON16, true);
      case U_EMR_SETWINDOWEXTEX:
      case U_EMR_SETVIEWPORTEXTEX: {
        const U_SIZEL& e = Rec<U_EMRSETWINDOWEXTEX>().szlExtent;
        if (e.cx == 0 || e.cy == 0) return;  // refused, as by the system
        (type == U_EMR_SETWINDOWEXTEX ? st_.wex : st_.vex) = e.cx;
        (type == U_EMR_SETWINDOWEXTEX ? st_.wey : st_.vey) = e.cy;
        return;
      }
      case U_EMR_SETWINDOWORGEX:
      case U_EMR_SETVIEWPORTORGEX: {
        const U_POINTL& o = Rec<U_EMRSETWINDOWORGEX>().ptlOrigin;
        (type == U_EMR_SETWINDOWORGEX ? st_.wox : st_.vox) = o.x;
        (type == U_EMR_SETWINDOWORGEX ? st_.woy : st_.voy) = o.y;
        return;
      }
      case U_EMR_SETMAPMODE: {
        const uint32_t mode = Rec<U_EMRSETMAPMODE>().iMode;
        if (mode >= U_MM_MIN && mode <= U_MM_MAX) st_.mapMode = mode;
        return;
      }
      case U_EMR_SETBKMODE:
        st_.opaque = Rec<U_EMRSETBKMODE>().iMode == U_OPAQUE;
        return;
      case U_EMR_SETPOLYFILLMODE:
        st_.winding = Rec<U_EMRSETPOLYFILLMODE>().iMode == U_WINDING;
        return;
      case U_EMR_SETTEXTALIGN:
        st_.textAlign = Rec<U_EMRSETTEXTALIGN>().iMode;
        return;
      case U_EMR_SETTEXTCOLOR:
        st_.textColor = Color(Rec<U_EMRSETTEXTCOLOR>().crColor);
        return;
      case U_EMR_SETBKCOLOR:
        st_.bkColor = Color(Rec<U_EMRSETBKCOLOR>().crColor);
        return;
      case U_EMR_MOVETOEX: {
        const U_POINTL& p = Rec<U_EMRMOVETOEX>().ptl;
        st_.curX = p.x, st_.curY = p.y;
        return;
      }
      case U_EMR_LINETO: {
        const U_POINTL& p = Rec<U_EMRLINETO>().ptl;
        Prepare();
        canvas_.DrawPolyline({Map(st_.curX, st_.curY), Map(p.x, p.y)});
        st_.curX = p.x, st_.curY = p.y;
        return;
      }
      case U_EMR_SAVEDC:
        Rec<U_EMRSAVEDC>();
        if (saved_.size() < kMaxSavedStates) saved_.push_back(st_);
        return;
      case U_EMR_RESTOREDC: {
        const int64_t relative = Rec<U_EMRRESTOREDC>().iRelative;
        const int64_t keep = relative < 0 ? int64_t(saved_.size()) + relative : relative - 1;
        if (keep < 0 || keep >= int64_t(saved_.size())) return;
        st_ = saved_[keep];
        saved_.resize(keep);
        return;
      }
      case U_EMR_SELECTOBJECT:
        return Select(Rec<U_EMRSELECTOBJECT>().ihObject);
      case U_EMR_DELETEOBJECT:
        objects_.erase(Rec<U_EMRDELETEOBJECT>().ihObject);
        return;
      case U_EMR_CREATEPEN:
        return CreatePen();
      case U_EMR_EXTCREATEPEN:
        return ExtCreatePen();
      case U_EMR_CREATEBRUSHINDIRECT:
        return CreateBrush();
      case U_EMR_EXTCREATEFONTINDIRECTW:
        return CreateFont();
      case U_EMR_RECTANGLE: {
        const TEmfRect box = Box(Rec<U_EMRRECTANGLE>().rclBox);
        Prepare();
        canvas_.DrawRect(box);
        return;
      }
      case U_EMR_ELLIPSE:
      case U_EMR_ROUNDRECT:
        return Rounded(type == U_EMR_ELLIPSE);
      case U_EMR_ARC:
        return Arc(TEmfArc::Open);
      case U_EMR_CHORD:
        return Arc(TEmfArc::Chord);
      case U_EMR_PIE:
        return Arc(TEmfArc::Pie);
      case U_EMR_EXTTEXTOUTA:
      case U_EMR_EXTTEXTOUTW:
        return Text(type == U_EMR_EXTTEXTOUTW);
      case U_EMR_BITBLT: {
        const auto& r = Rec<U_EMRBITBLT>();
        return Blt(r, r.cDest.x, r.cDest.y);
      }
      case U_EMR_STRETCHBLT: {
        const auto& r = Rec<U_EMRSTRETCHBLT>();
        return Blt(r, r.cSrc.x, r.cSrc.y);
      }
      case U_EMR_STRETCHDIBITS: {
        const auto& r = Rec<U_EMRSTRETCHDIBITS>();
        if (r.cbBmiSrc == 0) return;
        return Bitmap(DestRect(r.Dest, r.cDest), r.iUsageSrc, r.offBmiSrc, r.cbBmiSrc, r.offBitsSrc,
                      r.cbBitsSrc, r.Src.x, r.Src.y, r.cSrc.x, r.cSrc.y, true);
      }
      default:
        return;  // not drawn here: clipping, paths, palettes, comments...
    }
  }

  std::string_view bytes_;
  THeader header_;
  // Everything drawn goes through the cut.
  TClippedCanvas canvas_;
  double kx_ = 1, ky_ = 1;
  std::vector<uint32_t> scratch_;
  const char* rec_ = nullptr;
  uint32_t size_ = 0;
  TState st_;
  std::vector<TState> saved_;
  std::map<uint32_t, TObject> objects_;
};

}  // namespace

TEmfBounds EmfNaturalSize(std::string_view bytes) {
  return ReadHeader(bytes).natural;
}

void PlayEmf(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas) {
  TPlayer(bytes, outWidth, outHeight, canvas).Play();
}
