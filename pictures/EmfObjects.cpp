#include "pictures/EmfObjects.h"

#include <algorithm>
#include <cmath>

#include "pictures/MetafileCommon.h"
#include "platform/Utf8.h"

namespace {

// A positive font height is the character cell, which has some room above
// the em.
constexpr double kEmPerCell = 0.85;
constexpr uint32_t kDcBrush = 0x80000012, kDcPen = 0x80000013;

}  // namespace

void TEmfObjects::Select(uint32_t index, TEmfSelected& selected) const {
  auto brush = [&](TEmfFill fill, uint8_t grey) { selected.brush = {fill, {grey, grey, grey}, 0}; };
  auto pen = [&](TEmfLineStyle style, uint8_t grey) {
    selected.pen = {};
    selected.pen.pen.style = style;
    selected.pen.pen.color = {grey, grey, grey};
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
      selected.font = {};
      return;
  }
  const auto found = objects_.find(index);
  if (found == objects_.end()) return;
  if (const auto* p = std::get_if<TEmfPenDef>(&found->second)) selected.pen = *p;
  if (const auto* b = std::get_if<TEmfBrush>(&found->second)) selected.brush = *b;
  if (const auto* f = std::get_if<TEmfFontDef>(&found->second)) selected.font = *f;
}

void TEmfObjects::CreatePen(const U_EMRCREATEPEN& r) {
  TEmfPenDef pen;
  pen.pen.style = GdiLineStyle(r.lopn.lopnStyle);
  pen.pen.color = EmfColor(r.lopn.lopnColor);
  pen.logicalWidth = std::max(0, r.lopn.lopnWidth.x);
  objects_[r.ihPen] = pen;
}

void TEmfObjects::ExtCreatePen(const U_EMREXTCREATEPEN& r) {
  const uint32_t style = r.elp.elpPenStyle;
  TEmfPenDef pen;
  pen.pen.style = r.elp.elpBrushStyle == U_BS_NULL ? TEmfLineStyle::None : GdiLineStyle(style);
  pen.pen.color = EmfColor(r.elp.elpColor);
  if (style & U_PS_GEOMETRIC) pen.logicalWidth = std::min<uint32_t>(r.elp.elpWidth, 1u << 30);
  pen.pen.cap = GdiCap(style);
  pen.pen.join = GdiJoin(style);
  objects_[r.ihPen] = pen;
}

void TEmfObjects::CreateBrush(const U_EMRCREATEBRUSHINDIRECT& r) {
  TEmfBrush brush;
  brush.color = EmfColor(r.lb.lbColor);
  // Hatches past the six line patterns are solid colours.
  brush.fill = r.lb.lbStyle == U_BS_NULL                           ? TEmfFill::None
               : r.lb.lbStyle == U_BS_HATCHED && r.lb.lbHatch <= 5 ? TEmfFill::Hatched
                                                                   : TEmfFill::Solid;
  brush.hatch = brush.fill == TEmfFill::Hatched ? static_cast<int>(r.lb.lbHatch) : 0;
  objects_[r.ihBrush] = brush;
}

void TEmfObjects::CreateFont(const U_EMREXTCREATEFONTINDIRECTW& r) {
  const U_LOGFONT& lf = r.elfw.elfLogFont;
  TEmfFontDef font;
  size_t length = 0;
  while (length < U_LF_FACESIZE && lf.lfFaceName[length] != 0)
    ++length;
  font.font.face = Utf8FromUtf16Le(reinterpret_cast<const char*>(lf.lfFaceName), length);
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
