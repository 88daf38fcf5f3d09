#include "pictures/WmfPicture.h"

#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>
#include <libwmf/macro.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "pictures/WmfRecords.h"
#include "platform/AnsiQString.h"
#include "platform/Error.h"

namespace {

constexpr char kInvalid[] = "Metafile is not valid";

// What the drawing callbacks share: the painter, and how libwmf's device
// coordinates map onto the image. libwmf's device space depends on the
// mapping records of the file, so a placeable frame is turned into device
// coordinates only once the first shape brings the mapping in force.
struct TDevice {
  QPainter* painter = nullptr;
  QRectF target;
  std::optional<TWmfFrame> frame;
  wmfD_Rect scanned{};
  bool mapped = false;
};

TDevice& DeviceOf(wmfAPI* api) {
  return *static_cast<TDevice*>(api->device_data);
}

QColor ColorOf(const wmfRGB& rgb) {
  return QColor(rgb.r, rgb.g, rgb.b);
}

QPointF PointOf(const wmfD_Coord& point) {
  return QPointF(point.x, point.y);
}

QRectF RectOf(const wmfD_Coord& topLeft, const wmfD_Coord& bottomRight) {
  return QRectF(PointOf(topLeft), PointOf(bottomRight)).normalized();
}

QPen PenOf(const wmfPen* pen) {
  if (pen == nullptr || WMF_PEN_STYLE(pen) == PS_NULL) return QPen(Qt::NoPen);
  QPen result(ColorOf(*WMF_PEN_COLOR(pen)), std::max(WMF_PEN_WIDTH(pen), 0.0));
  switch (WMF_PEN_STYLE(pen)) {
    case PS_DASH:
      result.setStyle(Qt::DashLine);
      break;
    case PS_DOT:
      result.setStyle(Qt::DotLine);
      break;
    case PS_DASHDOT:
      result.setStyle(Qt::DashDotLine);
      break;
    case PS_DASHDOTDOT:
      result.setStyle(Qt::DashDotDotLine);
      break;
    default:
      break;
  }
  switch (WMF_PEN_ENDCAP(pen)) {
    case PS_ENDCAP_SQUARE:
      result.setCapStyle(Qt::SquareCap);
      break;
    case PS_ENDCAP_FLAT:
      result.setCapStyle(Qt::FlatCap);
      break;
    default:
      result.setCapStyle(Qt::RoundCap);
      break;
  }
  switch (WMF_PEN_JOIN(pen)) {
    case PS_JOIN_BEVEL:
      result.setJoinStyle(Qt::BevelJoin);
      break;
    case PS_JOIN_MITER:
      result.setJoinStyle(Qt::MiterJoin);
      break;
    default:
      result.setJoinStyle(Qt::RoundJoin);
      break;
  }
  return result;
}

QBrush BrushOf(const wmfBrush* brush) {
  if (brush == nullptr || WMF_BRUSH_STYLE(brush) == BS_NULL) return QBrush(Qt::NoBrush);
  const QColor color = ColorOf(*WMF_BRUSH_COLOR(brush));
  if (WMF_BRUSH_STYLE(brush) != BS_HATCHED) return QBrush(color);
  static const Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                            Qt::FDiagPattern, Qt::BDiagPattern,
                                            Qt::CrossPattern, Qt::DiagCrossPattern};
  const unsigned hatch = WMF_BRUSH_HATCH(brush);
  return QBrush(color, hatch < 6 ? kHatches[hatch] : Qt::SolidPattern);
}

// Sets the painter up for one shape: the mapping (at the first shape), and
// the pen and brush of the device context.
QPainter& Prepare(wmfAPI* api, wmfDC* dc, bool filled = true) {
  TDevice& device = DeviceOf(api);
  if (!device.mapped) {
    QRectF source = RectOf(device.scanned.TL, device.scanned.BR);
    if (device.frame) {
      const TWmfFrame& frame = *device.frame;
      source = QRectF(QPointF((frame.left - dc->Window.Ox) * dc->pixel_width,
                              (frame.top - dc->Window.Oy) * dc->pixel_height),
                      QPointF((frame.right - dc->Window.Ox) * dc->pixel_width,
                              (frame.bottom - dc->Window.Oy) * dc->pixel_height))
                   .normalized();
    }
    if (source.width() > 0 && source.height() > 0) {
      QTransform transform;
      transform.translate(device.target.left(), device.target.top());
      transform.scale(device.target.width() / source.width(),
                      device.target.height() / source.height());
      transform.translate(-source.left(), -source.top());
      device.painter->setTransform(transform);
    }
    device.mapped = true;
  }
  QPainter& painter = *device.painter;
  painter.setPen(PenOf(WMF_DC_PEN(dc)));
  painter.setBrush(filled ? BrushOf(WMF_DC_BRUSH(dc)) : QBrush(Qt::NoBrush));
  return painter;
}

Qt::FillRule FillRuleOf(wmfDC* dc) {
  return WMF_DC_POLYFILL(dc) == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
}

QPolygonF PolygonOf(const wmfD_Coord* points, unsigned count) {
  QPolygonF polygon;
  polygon.reserve(count);
  for (unsigned i = 0; i < count; ++i)
    polygon << PointOf(points[i]);
  return polygon;
}

// libwmf gives an arc's ends relative to the ellipse's centre and runs it
// clockwise on the screen from start to end; Qt runs counter-clockwise.
void DrawArc(wmfAPI* api, wmfDrawArc_t* arc, int kind) {
  QPainter& painter = Prepare(api, arc->dc, kind != 0);
  const QRectF box = RectOf(arc->TL, arc->BR);
  auto angle = [](const wmfD_Coord& point) {
    return std::atan2(-double(point.y), double(point.x)) * 180.0 / M_PI;
  };
  const double from = angle(arc->end);
  double span = angle(arc->start) - from;
  if (span <= 0) span += 360;
  const int start16 = int(std::lround(from * 16));
  const int span16 = int(std::lround(span * 16));
  if (kind == 0) painter.drawArc(box, start16, span16);
  if (kind == 1) painter.drawChord(box, start16, span16);
  if (kind == 2) painter.drawPie(box, start16, span16);
}

void DrawText(wmfAPI* api, wmfDrawText_t* text) {
  QPainter& painter = Prepare(api, text->dc, false);
  // Fonts need the application: the headless checker draws no text.
  if (QGuiApplication::instance() == nullptr) return;
  const wmfFont* font = WMF_DC_FONT(text->dc);
  QFont qfont;
  if (font != nullptr) {
    if (WMF_FONT_NAME(font) != nullptr) qfont.setFamily(FromAnsi(WMF_FONT_NAME(font)));
    qfont.setBold(WMF_FONT_WEIGHT(font) >= 600);
    qfont.setItalic(WMF_FONT_ITALIC(font) != 0);
    qfont.setUnderline(WMF_TEXT_UNDERLINE(font) != 0);
    qfont.setStrikeOut(WMF_TEXT_STRIKEOUT(font) != 0);
  }
  if (text->font_height <= 0 || text->str == nullptr) return;
  qfont.setPixelSize(std::max(1, int(std::lround(text->font_height))));
  painter.save();
  painter.setFont(qfont);
  painter.setPen(ColorOf(*WMF_DC_TEXTCOLOR(text->dc)));
  painter.translate(PointOf(text->pt));
  if (font != nullptr) painter.rotate(-WMF_FONT_ESCAPEMENT(font) / 10.0);
  painter.drawText(QPointF(0, 0), FromAnsi(text->str));  // at the baseline's start
  painter.restore();
}

void DrawBitmap(wmfAPI* api, wmfBMP_Draw_t* draw) {
  QPainter& painter = Prepare(api, draw->dc, false);
  if (draw->bmp.data == nullptr || draw->crop.w == 0 || draw->crop.h == 0) return;
  QImage image(draw->crop.w, draw->crop.h, QImage::Format_ARGB32);
  for (unsigned y = 0; y < draw->crop.h; ++y) {
    for (unsigned x = 0; x < draw->crop.w; ++x) {
      wmfRGB rgb{};
      // The library's bitmaps run bottom-up.
      const unsigned row = draw->crop.y + draw->crop.h - 1 - y;
      if (wmf_ipa_bmp_color(api, &draw->bmp, &rgb, draw->crop.x + x, row) == 1)
        image.setPixel(int(x), int(y), qRgb(rgb.r, rgb.g, rgb.b));
      else
        image.setPixel(int(x), int(y), qRgba(0, 0, 0, 0));
    }
  }
  const QRectF where(PointOf(draw->pt),
                     QSizeF(draw->crop.w * draw->pixel_width, draw->crop.h * draw->pixel_height));
  painter.drawImage(where, image);
}

void PaintRegion(wmfAPI* api, wmfPolyRectangle_t* region) {
  QPainter& painter = Prepare(api, region->dc);
  painter.setPen(Qt::NoPen);
  for (unsigned i = 0; i < region->count; ++i)
    painter.drawRect(RectOf(region->TL[i], region->BR[i]));
}

// Fills in libwmf's table of device functions with the painter's.
void PainterDeviceLayer(wmfAPI* api) {
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
  table->draw_pixel = [](wmfAPI* api, wmfDrawPixel_t* pixel) {
    Prepare(api, pixel->dc)
        .fillRect(QRectF(PointOf(pixel->pt), QSizeF(pixel->pixel_width, pixel->pixel_height)),
                  ColorOf(pixel->color));
  };
  table->draw_arc = [](wmfAPI* api, wmfDrawArc_t* arc) { DrawArc(api, arc, 0); };
  table->draw_chord = [](wmfAPI* api, wmfDrawArc_t* arc) { DrawArc(api, arc, 1); };
  table->draw_pie = [](wmfAPI* api, wmfDrawArc_t* arc) { DrawArc(api, arc, 2); };
  table->draw_ellipse = [](wmfAPI* api, wmfDrawArc_t* arc) {
    Prepare(api, arc->dc).drawEllipse(RectOf(arc->TL, arc->BR));
  };
  table->draw_line = [](wmfAPI* api, wmfDrawLine_t* line) {
    Prepare(api, line->dc, false).drawLine(PointOf(line->from), PointOf(line->to));
  };
  table->poly_line = [](wmfAPI* api, wmfPolyLine_t* line) {
    Prepare(api, line->dc, false).drawPolyline(PolygonOf(line->pt, line->count));
  };
  table->draw_polygon = [](wmfAPI* api, wmfPolyLine_t* shape) {
    Prepare(api, shape->dc).drawPolygon(PolygonOf(shape->pt, shape->count), FillRuleOf(shape->dc));
  };
  table->draw_polypolygon = [](wmfAPI* api, wmfPolyPoly_t* shapes) {
    QPainterPath path;
    path.setFillRule(FillRuleOf(shapes->dc));
    for (unsigned i = 0; i < shapes->npoly; ++i) {
      const QPolygonF polygon = PolygonOf(shapes->pt[i], shapes->count[i]);
      if (!polygon.isEmpty()) path.addPolygon(polygon), path.closeSubpath();
    }
    Prepare(api, shapes->dc).drawPath(path);
  };
  table->draw_rectangle = [](wmfAPI* api, wmfDrawRectangle_t* rect) {
    QPainter& painter = Prepare(api, rect->dc);
    if (rect->width > 0 && rect->height > 0)
      painter.drawRoundedRect(RectOf(rect->TL, rect->BR), rect->width / 2, rect->height / 2);
    else
      painter.drawRect(RectOf(rect->TL, rect->BR));
  };
  table->rop_draw = [](wmfAPI* api, wmfROP_Draw_t* rop) {
    QPainter& painter = Prepare(api, rop->dc);
    painter.setPen(Qt::NoPen);
    painter.drawRect(RectOf(rop->TL, rop->BR));
  };
  table->bmp_draw = DrawBitmap;
  table->bmp_read = wmf_ipa_bmp_read;
  table->bmp_free = wmf_ipa_bmp_free;
  table->draw_text = DrawText;
  table->udata_init = [](wmfAPI*, wmfUserData_t*) {};
  table->udata_copy = [](wmfAPI*, wmfUserData_t*) {};
  table->udata_set = [](wmfAPI*, wmfUserData_t*) {};
  table->udata_free = [](wmfAPI*, wmfUserData_t*) {};
  table->region_frame = [](wmfAPI*, wmfPolyRectangle_t*) {};
  table->region_paint = PaintRegion;
  table->region_clip = [](wmfAPI*, wmfPolyRectangle_t*) {};
  api->function_reference = table;
}

struct TApiDeleter {
  void operator()(wmfAPI* api) const { wmf_api_destroy(api); }  // frees all it allocated
};

// Runs libwmf over the metafile: scans it, then plays it onto `device` when
// there is one.
void Play(const QByteArray& bytes, TDevice* device, QSize* naturalSize) {
  const auto frame = CheckWmfRecords(std::string_view(bytes.constData(), size_t(bytes.size())));
  wmfAPI_Options options{};
  options.function = PainterDeviceLayer;
  wmfAPI* created = nullptr;
  const unsigned long flags =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  const wmf_error_t made = wmf_api_create(&created, flags, &options);
  std::unique_ptr<wmfAPI, TApiDeleter> api(created);
  if (made != wmf_E_None || api == nullptr || api->function_reference == nullptr)
    throw EKavError(kInvalid);
  // libwmf reads through a non-const pointer; it does not write.
  QByteArray data = bytes;
  wmfD_Rect scanned{};
  if (wmf_mem_open(api.get(), reinterpret_cast<unsigned char*>(data.data()), long(data.size())) !=
          wmf_E_None ||
      wmf_scan(api.get(), 0, &scanned) != wmf_E_None)
    throw EKavError(kInvalid);
  if (naturalSize != nullptr) {
    unsigned int width = 0;
    unsigned int height = 0;
    if (frame) {
      width = unsigned((frame->right - frame->left) * 96 / frame->unitsPerInch);
      height = unsigned((frame->bottom - frame->top) * 96 / frame->unitsPerInch);
    } else {
      wmf_display_size(api.get(), &width, &height, 96, 96);
    }
    *naturalSize = QSize(int(std::max(width, 1u)), int(std::max(height, 1u)));
  }
  if (device == nullptr) return;
  device->frame = frame;
  device->scanned = scanned;
  api->device_data = device;
  const wmf_error_t played = wmf_play(api.get(), 0, &scanned);
  api->device_data = nullptr;
  if (played != wmf_E_None) throw EKavError(kInvalid);
}

}  // namespace

QSize WindowsMetafileSize(const QByteArray& bytes) {
  QSize size;
  Play(bytes, nullptr, &size);
  return size;
}

void DrawWindowsMetafile(const QByteArray& bytes, QPainter& painter, const QRectF& target) {
  TDevice device;
  device.painter = &painter;
  device.target = target;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  try {
    Play(bytes, &device, nullptr);
  } catch (...) {
    painter.restore();
    throw;
  }
  painter.restore();
}
