#include "pictures/WmfReader.h"

#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>
#include <libwmf/macro.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <numbers>
#include <optional>
#include <string>

#include "pictures/ClippedCanvas.h"
#include "pictures/MetafileCommon.h"
#include "pictures/WmfRecords.h"
#include "platform/Cp1252.h"

namespace {

// libwmf's floats may be anything.
double Held(double v) {
  return std::isnan(v) ? 0 : std::clamp(v, -kFarPixels, kFarPixels);
}

TEmfColor ColorOf(const wmfRGB& rgb) {
  return {rgb.r, rgb.g, rgb.b};
}

// What the callbacks share. libwmf's device space depends on the mapping
// records of the file, so a placeable frame is turned into device
// coordinates only once the first shape brings the mapping in force.
struct TDevice {
  TDevice(TEmfCanvas& target, int outWidth, int outHeight, TWorkBudget& work)
      : budget(work),
        canvas(target, outWidth, outHeight, work),
        width(outWidth),
        height(outHeight) {}

  TWorkBudget& budget;
  TClippedCanvas canvas;
  int width, height;
  wmfAPI* api = nullptr;
  std::optional<TWmfFrame> frame;
  wmfD_Rect scanned{};
  bool mapped = false;
  double sx = 1, sy = 1, dx = 0, dy = 0;  // out = device * s + d
  // libwmf calls back through C, which nothing may be thrown across: the
  // first failure waits here until the library returns.
  std::exception_ptr failure;

  void MapAt(const wmfDC* dc) {
    if (mapped) return;
    mapped = true;
    double left = scanned.TL.x, top = scanned.TL.y, right = scanned.BR.x, bottom = scanned.BR.y;
    if (frame) {
      left = (frame->left - dc->Window.Ox) * dc->pixel_width;
      right = (frame->right - dc->Window.Ox) * dc->pixel_width;
      top = (frame->top - dc->Window.Oy) * dc->pixel_height;
      bottom = (frame->bottom - dc->Window.Oy) * dc->pixel_height;
    }
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (!(right - left > 0) || !(bottom - top > 0)) return;  // drawn as it comes
    sx = width / (right - left);
    sy = height / (bottom - top);
    dx = -left * sx;
    dy = -top * sy;
  }
  TEmfPoint Map(const wmfD_Coord& p) const { return {Held(p.x * sx + dx), Held(p.y * sy + dy)}; }
  TEmfPoint Map(double x, double y) const { return {Held(x * sx + dx), Held(y * sy + dy)}; }
  TEmfRect Box(const wmfD_Coord& a, const wmfD_Coord& b) const {
    const TEmfPoint p = Map(a), q = Map(b);
    return {std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x), std::max(p.y, q.y)};
  }
  std::vector<TEmfPoint> Points(const wmfD_Coord* points, unsigned count) const {
    std::vector<TEmfPoint> out;
    out.reserve(count);
    for (unsigned i = 0; i < count; ++i)
      out.push_back(Map(points[i]));
    return out;
  }
};

TEmfPen PenOf(const wmfPen* pen, double scale) {
  TEmfPen out;
  out.style = pen == nullptr ? TEmfLineStyle::None : GdiLineStyle(pen->lopnStyle);
  if (out.style == TEmfLineStyle::None) return out;
  out.width = Held(WMF_PEN_WIDTH(pen) * scale);  // at least a pixel, by the cut
  out.color = ColorOf(*WMF_PEN_COLOR(pen));
  out.cap = GdiCap(pen->lopnStyle);
  out.join = GdiJoin(pen->lopnStyle);
  return out;
}

TEmfBrush BrushOf(const wmfBrush* brush) {
  TEmfBrush out;
  if (brush == nullptr || WMF_BRUSH_STYLE(brush) == BS_NULL) {
    out.fill = TEmfFill::None;
    return out;
  }
  out.color = ColorOf(*WMF_BRUSH_COLOR(brush));
  // Hatches past the six line patterns, and pattern brushes, are solid.
  if (WMF_BRUSH_STYLE(brush) == BS_HATCHED && WMF_BRUSH_HATCH(brush) <= 5) {
    out.fill = TEmfFill::Hatched;
    out.hatch = int(WMF_BRUSH_HATCH(brush));
  }
  return out;
}

// The mapping (at the first shape), and the pen and brush of the context.
TClippedCanvas& Prepare(TDevice& device, wmfDC* dc) {
  device.MapAt(dc);
  device.canvas.SetPen(PenOf(WMF_DC_PEN(dc), std::abs(device.sx)));
  device.canvas.SetBrush(BrushOf(WMF_DC_BRUSH(dc)), ColorOf(*WMF_DC_BACKGROUND(dc)),
                         WMF_DC_OPAQUE(dc));
  return device.canvas;
}

// Fills with the brush alone.
TClippedCanvas& PrepareFill(TDevice& device, wmfDC* dc) {
  Prepare(device, dc);
  TEmfPen none;
  none.style = TEmfLineStyle::None;
  device.canvas.SetPen(none);
  return device.canvas;
}

// libwmf gives an arc's ends relative to the ellipse's centre and runs it
// clockwise on the screen from start to end: counter-clockwise from end to
// start.
void Arc(TDevice& device, wmfDrawArc_t* arc, TEmfArc kind) {
  TClippedCanvas& canvas = Prepare(device, arc->dc);
  const TEmfRect box = device.Box(arc->TL, arc->BR);
  const double rx = (box.right - box.left) / 2, ry = (box.bottom - box.top) / 2;
  if (!(rx > 0 && ry > 0)) return;
  auto angle = [&](const wmfD_Coord& p) {
    return std::atan2(-p.y * device.sy / ry, p.x * device.sx / rx) * 180 / std::numbers::pi;
  };
  const double from = angle(arc->end);
  double sweep = angle(arc->start) - from;
  if (!std::isfinite(sweep)) return;
  if (sweep <= 0) sweep += 360;
  canvas.DrawArc(box, from, sweep, kind);
}

void DrawArc(TDevice& device, wmfDrawArc_t* arc) {
  Arc(device, arc, TEmfArc::Open);
}
void DrawChord(TDevice& device, wmfDrawArc_t* arc) {
  Arc(device, arc, TEmfArc::Chord);
}
void DrawPie(TDevice& device, wmfDrawArc_t* arc) {
  Arc(device, arc, TEmfArc::Pie);
}
void DrawEllipse(TDevice& device, wmfDrawArc_t* arc) {
  Prepare(device, arc->dc).DrawEllipse(device.Box(arc->TL, arc->BR));
}

void DrawLine(TDevice& device, wmfDrawLine_t* line) {
  Prepare(device, line->dc).DrawPolyline({device.Map(line->from), device.Map(line->to)});
}

void DrawPolyline(TDevice& device, wmfPolyLine_t* line) {
  Prepare(device, line->dc).DrawPolyline(device.Points(line->pt, line->count));
}

void DrawPolygon(TDevice& device, wmfPolyLine_t* shape) {
  Prepare(device, shape->dc)
      .DrawPolygons({device.Points(shape->pt, shape->count)},
                    WMF_DC_POLYFILL(shape->dc) == WINDING);
}

void DrawPolyPolygon(TDevice& device, wmfPolyPoly_t* shapes) {
  std::vector<std::vector<TEmfPoint>> rings;
  for (unsigned i = 0; i < shapes->npoly; ++i)
    if (shapes->pt[i] != nullptr && shapes->count[i] > 0)
      rings.push_back(device.Points(shapes->pt[i], shapes->count[i]));
  Prepare(device, shapes->dc).DrawPolygons(rings, WMF_DC_POLYFILL(shapes->dc) == WINDING);
}

void DrawRectangle(TDevice& device, wmfDrawRectangle_t* rect) {
  TClippedCanvas& canvas = Prepare(device, rect->dc);
  const TEmfRect box = device.Box(rect->TL, rect->BR);
  if (rect->width > 0 && rect->height > 0)
    canvas.DrawRoundRect(box, Held(rect->width / 2 * device.sx),
                         Held(rect->height / 2 * device.sy));
  else
    canvas.DrawRect(box);
}

void DrawPixel(TDevice& device, wmfDrawPixel_t* pixel) {
  const wmfD_Coord far{float(pixel->pt.x + pixel->pixel_width),
                       float(pixel->pt.y + pixel->pixel_height)};
  Prepare(device, pixel->dc).FillRect(device.Box(pixel->pt, far), ColorOf(pixel->color));
}

void RopDraw(TDevice& device, wmfROP_Draw_t* rop) {
  PrepareFill(device, rop->dc).DrawRect(device.Box(rop->TL, rop->BR));
}

void PaintRegion(TDevice& device, wmfPolyRectangle_t* region) {
  TClippedCanvas& canvas = PrepareFill(device, region->dc);
  for (unsigned i = 0; i < region->count; ++i)
    canvas.DrawRect(device.Box(region->TL[i], region->BR[i]));
}

// libwmf gives the start of the baseline, already aligned.
void DrawText(TDevice& device, wmfDrawText_t* text) {
  TClippedCanvas& canvas = Prepare(device, text->dc);
  if (text->str == nullptr || !(text->font_height > 0)) return;
  TEmfText out;
  out.at = device.Map(text->pt);
  out.utf8 = Utf8FromAnsi(text->str);
  if (const wmfFont* font = WMF_DC_FONT(text->dc); font != nullptr) {
    if (WMF_FONT_NAME(font) != nullptr) out.font.face = Utf8FromAnsi(WMF_FONT_NAME(font));
    out.font.weight = std::clamp(int(WMF_FONT_WEIGHT(font)), 0, 1000);
    out.font.italic = WMF_FONT_ITALIC(font) != 0;
    out.font.underline = WMF_TEXT_UNDERLINE(font) != 0;
    out.font.strikeOut = WMF_TEXT_STRIKEOUT(font) != 0;
    out.font.angle = std::fmod(WMF_FONT_ESCAPEMENT(font) / 10.0, 360.0);
  }
  out.font.height = Held(text->font_height * std::abs(device.sy));
  out.color = ColorOf(*WMF_DC_TEXTCOLOR(text->dc));
  out.background = ColorOf(*WMF_DC_BACKGROUND(text->dc));
  out.opaque = WMF_DC_OPAQUE(text->dc);
  out.hAlign = TEmfHAlign::Left;
  out.vAlign = TEmfVAlign::Baseline;
  canvas.DrawText(out);
}

// How many of `count` pixels to read for `extent` output pixels: libwmf
// answers pixel by pixel, so a bitmap shrunk onto the output is read at
// twice the output's resolution at most, the painter blending the rest.
unsigned Sampled(unsigned count, double extent) {
  return unsigned(std::clamp(std::ceil(2 * extent), 1.0, double(count)));
}

void DrawBitmap(TDevice& device, wmfBMP_Draw_t* draw) {
  TClippedCanvas& canvas = Prepare(device, draw->dc);
  const unsigned w = draw->crop.w, h = draw->crop.h;
  if (draw->bmp.data == nullptr || w == 0 || h == 0 || uint64_t{w} * h > kMaxBitmapPixels) return;
  const TEmfPoint a = device.Map(draw->pt);
  const TEmfPoint b =
      device.Map(draw->pt.x + w * draw->pixel_width, draw->pt.y + h * draw->pixel_height);
  const unsigned columns = Sampled(w, std::abs(b.x - a.x)), rows = Sampled(h, std::abs(b.y - a.y));
  device.budget.Spend(uint64_t{columns} * rows * TWorkBudget::kDecodedPixel);
  std::vector<uint32_t> pixels;
  pixels.reserve(size_t{columns} * rows);
  for (unsigned y = 0; y < rows; ++y) {
    // The library's bitmaps run bottom-up; each sample is a pixel's centre.
    const unsigned row = draw->crop.y + h - 1 - unsigned((2 * uint64_t{y} + 1) * h / (2 * rows));
    for (unsigned x = 0; x < columns; ++x) {
      const unsigned column = draw->crop.x + unsigned((2 * uint64_t{x} + 1) * w / (2 * columns));
      // libwmf answers a pixel's colour and, as its result, its opacity.
      wmfRGB rgb{};
      const int opacity = column < draw->bmp.width && row < draw->bmp.height
                              ? wmf_ipa_bmp_color(device.api, &draw->bmp, &rgb, column, row)
                              : 0;
      pixels.push_back(opacity <= 0 ? 0
                                    : uint32_t(std::min(opacity, 255)) << 24 |
                                          uint32_t{rgb.r} << 16 | uint32_t{rgb.g} << 8 | rgb.b);
    }
  }
  canvas.DrawBitmap(
      {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)},
      int(columns), int(rows), pixels);
}

template <typename Arg, void (*Draw)(TDevice&, Arg*)>
void Callback(wmfAPI* api, Arg* arg) {
  auto* device = static_cast<TDevice*>(api->device_data);
  if (device == nullptr || device->failure) return;
  try {
    Draw(*device, arg);
  } catch (...) {
    device->failure = std::current_exception();
  }
}

// libwmf decodes an embedded bitmap whole, at the size its header claims:
// one that claims more pixels than a picture may have is not read (and so
// not drawn), before the library allocates for it.
void ReadBitmap(wmfAPI* api, wmfBMP_Read_t* read) {
  read->bmp.data = nullptr;
  const unsigned char* header = read->buffer;
  if (header == nullptr || read->length < 12) return;
  const auto word = [&](int at) { return uint32_t(header[at]) | uint32_t(header[at + 1]) << 8; };
  const auto dword = [&](int at) { return word(at) | word(at + 2) << 16; };
  uint64_t width = 0, height = 0;
  if (dword(0) == 12) {  // the old core header: 16-bit sizes
    width = word(4);
    height = word(6);
  } else if (read->length >= 16) {
    width = uint64_t(std::abs(int64_t(int32_t(dword(4)))));
    height = uint64_t(std::abs(int64_t(int32_t(dword(8)))));
  }
  if (width == 0 || height == 0 || width * height > kMaxBitmapPixels) return;
  wmf_ipa_bmp_read(api, read);
}

// Fills in libwmf's table of device functions with ours.
void CanvasDeviceLayer(wmfAPI* api) {
  auto* table = static_cast<wmfFunctionReference*>(wmf_malloc(api, sizeof(wmfFunctionReference)));
  if (table == nullptr) return;
  std::memset(table, 0, sizeof *table);
  auto none = [](wmfAPI*) {};
  table->device_open = none;
  table->device_close = none;
  table->device_begin = none;
  table->device_end = none;
  table->flood_interior = [](wmfAPI*, wmfFlood_t*) {};
  table->flood_exterior = [](wmfAPI*, wmfFlood_t*) {};
  table->draw_pixel = Callback<wmfDrawPixel_t, DrawPixel>;
  table->draw_pie = Callback<wmfDrawArc_t, DrawPie>;
  table->draw_chord = Callback<wmfDrawArc_t, DrawChord>;
  table->draw_arc = Callback<wmfDrawArc_t, DrawArc>;
  table->draw_ellipse = Callback<wmfDrawArc_t, DrawEllipse>;
  table->draw_line = Callback<wmfDrawLine_t, DrawLine>;
  table->poly_line = Callback<wmfPolyLine_t, DrawPolyline>;
  table->draw_polygon = Callback<wmfPolyLine_t, DrawPolygon>;
  table->draw_polypolygon = Callback<wmfPolyPoly_t, DrawPolyPolygon>;
  table->draw_rectangle = Callback<wmfDrawRectangle_t, DrawRectangle>;
  table->rop_draw = Callback<wmfROP_Draw_t, RopDraw>;
  table->bmp_draw = Callback<wmfBMP_Draw_t, DrawBitmap>;
  table->bmp_read = ReadBitmap;
  table->bmp_free = wmf_ipa_bmp_free;
  table->draw_text = Callback<wmfDrawText_t, DrawText>;
  table->udata_init = [](wmfAPI*, wmfUserData_t*) {};
  table->udata_copy = [](wmfAPI*, wmfUserData_t*) {};
  table->udata_set = [](wmfAPI*, wmfUserData_t*) {};
  table->udata_free = [](wmfAPI*, wmfUserData_t*) {};
  table->region_frame = [](wmfAPI*, wmfPolyRectangle_t*) {};
  table->region_paint = Callback<wmfPolyRectangle_t, PaintRegion>;
  table->region_clip = [](wmfAPI*, wmfPolyRectangle_t*) {};
  api->function_reference = table;
}

struct TApiDeleter {
  void operator()(wmfAPI* api) const { wmf_api_destroy(api); }  // frees all it allocated
};

// Runs libwmf over the metafile: scans it, then plays it onto `device` when
// there is one.
void Run(std::string_view bytes, TDevice* device, TEmfBounds* natural, TWorkBudget& budget) {
  const TWmfOutline outline = CheckWmfRecords(bytes, budget);
  const auto& frame = outline.frame;
  wmfAPI_Options options{};
  options.function = CanvasDeviceLayer;
  wmfAPI* created = nullptr;
  const unsigned long flags =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  const wmf_error_t made = wmf_api_create(&created, flags, &options);
  std::unique_ptr<wmfAPI, TApiDeleter> api(created);
  if (made != wmf_E_None || api == nullptr || api->function_reference == nullptr) InvalidMetafile();
  // libwmf reads through a non-const pointer; it does not write. Its header
  // gets the sizes the records have.
  std::string data(bytes);
  std::memcpy(&data[outline.headerAt + 6], &outline.words, 4);
  std::memcpy(&data[outline.headerAt + 12], &outline.largestRecord, 4);
  wmfD_Rect scanned{};
  if (wmf_mem_open(api.get(), reinterpret_cast<unsigned char*>(data.data()), long(data.size())) !=
          wmf_E_None ||
      wmf_scan(api.get(), 0, &scanned) != wmf_E_None)
    InvalidMetafile();
  if (natural != nullptr) {
    unsigned int width = 0, height = 0;
    if (frame) {
      width = unsigned((frame->right - frame->left) * 96 / frame->unitsPerInch);
      height = unsigned((frame->bottom - frame->top) * 96 / frame->unitsPerInch);
    } else {
      wmf_display_size(api.get(), &width, &height, 96, 96);
    }
    *natural = {int(std::clamp(width, 1u, unsigned{INT_MAX})),
                int(std::clamp(height, 1u, unsigned{INT_MAX}))};
  }
  if (device == nullptr) return;
  device->api = api.get();
  device->frame = frame;
  device->scanned = scanned;
  api->device_data = device;
  const wmf_error_t played = wmf_play(api.get(), 0, &scanned);
  api->device_data = nullptr;
  if (device->failure) std::rethrow_exception(device->failure);
  if (played != wmf_E_None) InvalidMetafile();
}

}  // namespace

TEmfBounds WmfNaturalSize(std::string_view bytes) {
  TEmfBounds natural;
  TWorkBudget budget;
  Run(bytes, nullptr, &natural, budget);
  return natural;
}

void PlayWmf(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas,
             TWorkBudget& budget) {
  TDevice device(canvas, outWidth, outHeight, budget);
  Run(bytes, &device, nullptr, budget);
}

void PlayWmf(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas) {
  TWorkBudget budget;
  PlayWmf(bytes, outWidth, outHeight, canvas, budget);
}
