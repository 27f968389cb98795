// Small painting helpers shared by the main window and list delegates.
//
// UI thread only (they use the widgets' fonts and paint devices). None of them
// keeps a pointer to its arguments.
#pragma once

#include <QColor>
#include <QFontMetricsF>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace sw {

// `path` shortened to fit 80% of `control`'s width in `control`'s font (the
// rest of the control is left for padding and frames). A null control returns
// `path` unchanged.
QString CompactPath(const QWidget* control, const QString& path);

// Same rule for an explicit width in pixels, for delegates painting rows.
QString CompactPathForWidth(const QFontMetricsF& metrics, double limit, const QString& path);

// Paints the two-pixel drop shadow of a control whose geometry (in the
// painter's coordinates) is `controlGeometry`, on a surface of colour
// `background`. Call before the control itself is drawn: the shadow boxes lie
// mostly underneath it and show only along its right and bottom edges.
void DrawShadow(QPainter& painter, const QRect& controlGeometry, const QColor& background);

}  // namespace sw
