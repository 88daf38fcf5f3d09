#include "pictures/QtCanvas.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr int kMaxSide = 4096;

QColor ToQt(TEmfColor c) {
  return QColor(c.red, c.green, c.blue);
}
QRectF ToQt(const TEmfRect& r) {
  return QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top);
}
QPolygonF ToQt(const std::vector<TEmfPoint>& points) {
  QPolygonF polygon;
  polygon.reserve(qsizetype(points.size()));
  for (const TEmfPoint& p : points)
    polygon << QPointF(p.x, p.y);
  return polygon;
}

// The players set the pen and brush before every shape; the painter's state
// changes only when they differ, which spares most of what a thin line costs.
class TQtCanvas final : public TEmfCanvas {
 public:
  explicit TQtCanvas(QPainter& painter) : p_(painter) {}

  void SetPen(const TEmfPen& pen) override {
    if (pen_ == pen) return;
    pen_ = pen;
    static const Qt::PenStyle kStyles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                           Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
    static const Qt::PenCapStyle kCaps[] = {Qt::RoundCap, Qt::SquareCap, Qt::FlatCap};
    static const Qt::PenJoinStyle kJoins[] = {Qt::RoundJoin, Qt::BevelJoin, Qt::MiterJoin};
    p_.setPen(QPen(ToQt(pen.color), pen.width, kStyles[int(pen.style)], kCaps[int(pen.cap)],
                   kJoins[int(pen.join)]));
  }

  void SetBrush(const TEmfBrush& brush, TEmfColor background, bool opaque) override {
    const TBrushState state{brush, background, opaque};
    if (brush_ == state) return;
    brush_ = state;
    static const Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                              Qt::FDiagPattern, Qt::BDiagPattern,
                                              Qt::CrossPattern, Qt::DiagCrossPattern};
    if (brush.fill == TEmfFill::None)
      p_.setBrush(Qt::NoBrush);
    else
      p_.setBrush(QBrush(ToQt(brush.color), brush.fill == TEmfFill::Hatched ? kHatches[brush.hatch]
                                                                            : Qt::SolidPattern));
    p_.setBackground(ToQt(background));
    p_.setBackgroundMode(opaque ? Qt::OpaqueMode : Qt::TransparentMode);
  }

  void DrawPolyline(const std::vector<TEmfPoint>& points) override {
    if (points.size() == 2)
      p_.drawLine(QLineF(points[0].x, points[0].y, points[1].x, points[1].y));
    else
      p_.drawPolyline(ToQt(points));
  }

  void DrawBeziers(const std::vector<TEmfPoint>& points) override {
    QPainterPath path(QPointF(points[0].x, points[0].y));
    for (size_t i = 1; i + 2 < points.size(); i += 3)
      path.cubicTo(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, points[i + 2].x,
                   points[i + 2].y);
    p_.strokePath(path, p_.pen());
  }

  void DrawPolygons(const std::vector<std::vector<TEmfPoint>>& polygons, bool winding) override {
    QPainterPath path;
    path.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (const auto& polygon : polygons) {
      if (polygon.empty()) continue;
      path.addPolygon(ToQt(polygon));
      path.closeSubpath();
    }
    p_.drawPath(path);
  }

  void DrawRect(const TEmfRect& rect) override { p_.drawRect(ToQt(rect)); }
  void DrawRoundRect(const TEmfRect& rect, double rx, double ry) override {
    p_.drawRoundedRect(ToQt(rect), rx, ry);
  }
  void DrawEllipse(const TEmfRect& rect) override { p_.drawEllipse(ToQt(rect)); }

  void DrawArc(const TEmfRect& box, double startAngle, double sweepAngle, TEmfArc kind) override {
    const QRectF r = ToQt(box);
    QPainterPath path;
    if (kind == TEmfArc::Pie)
      path.moveTo(r.center());
    else
      path.arcMoveTo(r, startAngle);
    path.arcTo(r, startAngle, sweepAngle);
    if (kind == TEmfArc::Open) return p_.strokePath(path, p_.pen());
    path.closeSubpath();
    p_.drawPath(path);
  }

  void FillRect(const TEmfRect& rect, TEmfColor color) override {
    p_.fillRect(ToQt(rect), ToQt(color));
  }

  void DrawText(const TEmfText& text) override {
    // Fonts need the application's font database; the headless checker,
    // which only asks whether a picture decodes, has none.
    if (qGuiApp == nullptr) return;
    QFont font(QString::fromStdString(text.font.face));
    font.setPixelSize(std::max(1, int(std::lround(text.font.height))));
    font.setWeight(
        QFont::Weight(std::clamp(text.font.weight == 0 ? 400 : text.font.weight, 1, 1000)));
    font.setItalic(text.font.italic);
    font.setUnderline(text.font.underline);
    font.setStrikeOut(text.font.strikeOut);
    const QString s = QString::fromStdString(text.utf8);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(s);
    const double x = text.hAlign == TEmfHAlign::Left     ? 0
                     : text.hAlign == TEmfHAlign::Center ? -width / 2
                                                         : -width;
    const double y = text.vAlign == TEmfVAlign::Top      ? metrics.ascent()
                     : text.vAlign == TEmfVAlign::Bottom ? -metrics.descent()
                                                         : 0;
    p_.save();
    p_.translate(text.at.x, text.at.y);
    p_.rotate(-text.font.angle);
    p_.setFont(font);
    p_.setPen(ToQt(text.color));
    p_.setBackground(ToQt(text.background));
    p_.setBackgroundMode(text.opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    p_.drawText(QPointF(x, y), s);
    p_.restore();
  }

  void DrawBitmap(const TEmfRect& target, int width, int height,
                  const std::vector<uint32_t>& pixels) override {
    const QImage image(reinterpret_cast<const uchar*>(pixels.data()), width, height,
                       qsizetype(width) * 4, QImage::Format_ARGB32);
    // Blended when shrunk; enlarged, the pixels stay sharp as the system draws them.
    const QRectF rect = ToQt(target);
    p_.setRenderHint(QPainter::SmoothPixmapTransform,
                     rect.width() < width || rect.height() < height);
    p_.drawImage(rect, image);
  }

 private:
  struct TBrushState {
    TEmfBrush brush;
    TEmfColor background;
    bool opaque;
    bool operator==(const TBrushState&) const = default;
  };

  QPainter& p_;
  std::optional<TEmfPen> pen_;
  std::optional<TBrushState> brush_;
};

}  // namespace

QImage RenderMetafile(QSize size, const std::function<TEmfBounds()>& naturalSize,
                      const std::function<void(int, int, TEmfCanvas&)>& play) {
  if (size.isEmpty()) {
    const TEmfBounds natural = naturalSize();
    size = QSize(natural.width, natural.height);
  }
  const double shrink =
      std::min({1.0, double(kMaxSide) / size.width(), double(kMaxSide) / size.height()});
  size = QSize(std::max(1, int(std::lround(size.width() * shrink))),
               std::max(1, int(std::lround(size.height() * shrink))));
  // Opaque: the antialiased painter blends into an image with a separate
  // alpha channel six times as slowly.
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  TQtCanvas canvas(painter);
  play(size.width(), size.height(), canvas);
  return image;
}
