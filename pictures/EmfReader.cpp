#include "pictures/EmfReader.h"

#include <uemf.h>
#include <uemf_safe.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "pictures/ClippedCanvas.h"
#include "pictures/DibImage.h"
#include "pictures/EmfHeader.h"
#include "pictures/EmfObjects.h"
#include "pictures/MetafileCommon.h"
#include "platform/Cp1252.h"
#include "platform/Utf8.h"

namespace {

// Zeros after each record's copy, more than the largest fixed part of a
// record, so that no check (ours or the library's) reads past the copy.
constexpr size_t kPadding = 512;
constexpr size_t kMaxSavedStates = 4096;

constexpr uint32_t kPatCopy = 0x00F00021, kBlackness = 0x00000042, kWhiteness = 0x00FF0062;

struct TState : TEmfSelected {
  uint32_t mapMode = U_MM_TEXT;
  double wox = 0, woy = 0, wex = 1, wey = 1, vox = 0, voy = 0, vex = 1, vey = 1;
  double curX = 0, curY = 0;  // logical
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
  TPlayer(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas,
          TWorkBudget& budget)
      : bytes_(bytes),
        header_(ReadEmfHeader(bytes)),
        budget_(budget),
        canvas_(canvas, outWidth, outHeight, budget) {
    kx_ = outWidth / header_.width;
    ky_ = outHeight / header_.height;
  }

  void Play() {
    size_t at = 0;
    for (;;) {
      if (bytes_.size() - at < 8) InvalidMetafile();  // no EOF record: cut short
      uint32_t type, size;
      std::memcpy(&type, bytes_.data() + at, 4);
      std::memcpy(&size, bytes_.data() + at + 4, 4);
      if (size < 8 || size % 4 != 0 || size > bytes_.size() - at) InvalidMetafile();
      budget_.Spend(TWorkBudget::kRecord);
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
    if (U_emf_record_safe(rec_) == 0) InvalidMetafile();
    return *reinterpret_cast<const T*>(rec_);
  }
  // `count` items of `item` bytes at `offset` lie within the record.
  void Need(uint64_t offset, uint64_t count, uint64_t item) const {
    if (offset > size_ || (item != 0 && count > (size_ - offset) / item)) InvalidMetafile();
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
    return {std::clamp(x * m.sx + m.dx, -kFarPixels, kFarPixels),
            std::clamp(y * m.sy + m.dy, -kFarPixels, kFarPixels)};
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
    if (total != r.cptl) InvalidMetafile();
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
    text.utf8 = wide ? Utf8FromUtf16Le(rec_ + t.offString, t.nChars)
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

  // A device-independent bitmap in the record, its window drawn onto
  // `target`.
  void Bitmap(const TEmfRect& target, uint32_t usage, uint32_t offBmi, uint32_t cbBmi,
              uint32_t offBits, uint32_t cbBits, const TDibWindow& window) {
    Need(offBmi, 1, cbBmi);
    Need(offBits, 1, cbBits);
    const TDibPixels pixels =
        DecodeDib(std::string_view(rec_ + offBmi, cbBmi), std::string_view(rec_ + offBits, cbBits),
                  usage == U_DIB_RGB_COLORS, window);
    // Charged once decoded: no more than the record's own bytes hold.
    budget_.Spend(pixels.argb.size() * TWorkBudget::kDecodedPixel);
    if (pixels.width > 0) canvas_.DrawBitmap(target, pixels.width, pixels.height, pixels.argb);
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
      Bitmap(target, r.iUsageSrc, r.offBmiSrc, r.cbBmiSrc, r.offBitsSrc, r.cbBitsSrc,
             {r.Src.x, r.Src.y, sw, sh, false});
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
        st_.textColor = EmfColor(Rec<U_EMRSETTEXTCOLOR>().crColor);
        return;
      case U_EMR_SETBKCOLOR:
        st_.bkColor = EmfColor(Rec<U_EMRSETBKCOLOR>().crColor);
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
        return objects_.Select(Rec<U_EMRSELECTOBJECT>().ihObject, st_);
      case U_EMR_DELETEOBJECT:
        objects_.Delete(Rec<U_EMRDELETEOBJECT>().ihObject);
        return;
      case U_EMR_CREATEPEN:
        return objects_.CreatePen(Rec<U_EMRCREATEPEN>());
      case U_EMR_EXTCREATEPEN:
        return objects_.ExtCreatePen(Rec<U_EMREXTCREATEPEN>());
      case U_EMR_CREATEBRUSHINDIRECT:
        return objects_.CreateBrush(Rec<U_EMRCREATEBRUSHINDIRECT>());
      case U_EMR_EXTCREATEFONTINDIRECTW:
        return objects_.CreateFont(Rec<U_EMREXTCREATEFONTINDIRECTW>());
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
                      r.cbBitsSrc, {r.Src.x, r.Src.y, r.cSrc.x, r.cSrc.y, true});
      }
      default:
        return;  // not drawn here: clipping, paths, palettes, comments...
    }
  }

  std::string_view bytes_;
  TEmfHeader header_;
  TWorkBudget& budget_;
  // Everything drawn goes through the cut.
  TClippedCanvas canvas_;
  double kx_ = 1, ky_ = 1;
  std::vector<uint32_t> scratch_;
  const char* rec_ = nullptr;
  uint32_t size_ = 0;
  TState st_;
  std::vector<TState> saved_;
  TEmfObjects objects_;
};

}  // namespace

TEmfBounds EmfNaturalSize(std::string_view bytes) {
  return ReadEmfHeader(bytes).natural;
}

void PlayEmf(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas,
             TWorkBudget& budget) {
  TPlayer(bytes, outWidth, outHeight, canvas, budget).Play();
}

void PlayEmf(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas) {
  TWorkBudget budget;
  PlayEmf(bytes, outWidth, outHeight, canvas, budget);
}
