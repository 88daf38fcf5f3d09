#pragma once
// The pens, brushes and fonts an enhanced metafile creates, kept by index,
// and the stock objects it may select without creating them. No Qt.
#include <uemf.h>

#include <cstdint>
#include <map>
#include <variant>

#include "pictures/EmfCanvas.h"

inline TEmfColor EmfColor(const U_COLORREF& c) {
  return {c.Red, c.Green, c.Blue};
}

struct TEmfPenDef {
  TEmfPen pen;
  double logicalWidth = 0;  // 0: one output pixel whatever the scale
};
struct TEmfFontDef {
  TEmfFont font;
  double logicalHeight = 12;  // em height
};

// What is selected into the drawing state.
struct TEmfSelected {
  TEmfPenDef pen;
  TEmfBrush brush;
  TEmfFontDef font;
};

class TEmfObjects {
 public:
  void CreatePen(const U_EMRCREATEPEN& r);
  void ExtCreatePen(const U_EMREXTCREATEPEN& r);
  void CreateBrush(const U_EMRCREATEBRUSHINDIRECT& r);
  void CreateFont(const U_EMREXTCREATEFONTINDIRECTW& r);
  void Delete(uint32_t index) { objects_.erase(index); }
  // A stock object, or one created; an unknown index changes nothing.
  void Select(uint32_t index, TEmfSelected& selected) const;

 private:
  std::map<uint32_t, std::variant<TEmfPenDef, TEmfBrush, TEmfFontDef>> objects_;
};
