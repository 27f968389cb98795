#include "ui/drawing.h"

#include <QPainter>
#include <QWidget>
#include <string>
#include <string_view>

#include "core/compact_path.h"
#include "core/shadow.h"

namespace sw {

QString CompactPathForWidth(const QFontMetricsF& metrics, double limit, const QString& path) {
  const std::string utf8 = path.toStdString();
  const std::string out = CompactPath(utf8, limit, [&metrics](std::string_view text) {
    return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  });
  return QString::fromStdString(out);
}

QString CompactPath(const QWidget* control, const QString& path) {
  if (control == nullptr) return path;
  return CompactPathForWidth(QFontMetricsF(control->font()), 0.8 * control->width(), path);
}

void DrawShadow(QPainter& painter, const QRect& controlGeometry, const QColor& background) {
  const auto [outer, inner] = ShadowBands({background.red(), background.green(), background.blue()});
  const QSize size(controlGeometry.width() - 1, controlGeometry.height() - 1);
  // Outer box first: the inner one covers all of it but a one-pixel rim.
  for (int i = 2; i >= 1; --i) {
    const Rgb c = (i == 2) ? outer : inner;
    const QPoint topLeft(controlGeometry.left() + 1 + i, controlGeometry.top() + 1 + i);
    painter.fillRect(QRect(topLeft, size), QColor(c.r, c.g, c.b));
  }
}

}  // namespace sw
