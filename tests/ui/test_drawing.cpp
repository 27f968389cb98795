// Drop shadows and path shortening in real fonts.
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include "ui/drawing.h"

class TestDrawing : public QObject {
  Q_OBJECT

 private slots:
  void shadowPixels_data();
  void shadowPixels();
  void compactPathInControl_data();
  void compactPathInControl();
  void compactPathNullControl();
};

namespace {
// Control at x 10..59, y 10..39.
const QRect kControl(10, 10, 50, 30);
}  // namespace

void TestDrawing::shadowPixels_data() {
  QTest::addColumn<QColor>("background");
  QTest::addColumn<QPoint>("pixel");
  QTest::addColumn<QColor>("expected");

  const QColor face(240, 240, 240);
  const QColor inner(220, 220, 220);
  const QColor outer(230, 230, 230);
  QTest::newRow("just right of control") << face << QPoint(60, 25) << inner;
  QTest::newRow("outer rim right") << face << QPoint(61, 25) << outer;
  QTest::newRow("past the rim right") << face << QPoint(62, 25) << face;
  QTest::newRow("just below control") << face << QPoint(30, 40) << inner;
  QTest::newRow("outer rim below") << face << QPoint(30, 41) << outer;
  QTest::newRow("past the rim below") << face << QPoint(30, 42) << face;
  QTest::newRow("corner") << face << QPoint(61, 41) << outer;
  // The shadow starts two pixels down the right edge, three for the rim.
  QTest::newRow("top of right band") << face << QPoint(60, 12) << inner;
  QTest::newRow("above right band") << face << QPoint(60, 11) << face;
  QTest::newRow("rim starts lower") << face << QPoint(61, 12) << face;
  QTest::newRow("rim top") << face << QPoint(61, 13) << outer;
  QTest::newRow("left of bottom band") << face << QPoint(11, 40) << face;
  QTest::newRow("nothing left of control") << face << QPoint(9, 25) << face;
  QTest::newRow("dark background clamps")
      << QColor(15, 5, 40) << QPoint(60, 25) << QColor(0, 0, 20);
  QTest::newRow("dark background rim")
      << QColor(15, 5, 40) << QPoint(61, 25) << QColor(5, 0, 30);
}

void TestDrawing::shadowPixels() {
  QFETCH(QColor, background);
  QFETCH(QPoint, pixel);
  QFETCH(QColor, expected);

  QImage img(100, 80, QImage::Format_RGB32);
  img.fill(background);
  {
    QPainter p(&img);
    sw::DrawShadow(p, kControl, background);
  }
  QCOMPARE(QColor(img.pixel(pixel)), expected);
}

void TestDrawing::compactPathInControl_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<bool>("shortened");
  QTest::addColumn<QString>("tail");

  QTest::newRow("short path") << QStringLiteral("/tmp/a.txt") << false
                              << QStringLiteral("/tmp/a.txt");
  QTest::newRow("long ascii")
      << QStringLiteral("/home/utente/.cache/thumbnails/large/"
                        "0123456789abcdef0123456789abcdef/anteprima.png")
      << true << QStringLiteral("/anteprima.png");
  QTest::newRow("accented")
      << QStringLiteral("/home/utente/Documenti/relazioni già approvate/"
                        "università/perché così.odt")
      << true << QStringLiteral("/perché così.odt");
}

void TestDrawing::compactPathInControl() {
  QFETCH(QString, path);
  QFETCH(bool, shortened);
  QFETCH(QString, tail);

  QLineEdit control;
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPointSizeF(8.25);
  control.setFont(f);
  control.resize(250, 20);
  const QString out = sw::CompactPath(&control, path);
  QCOMPARE(out != path, shortened);
  QVERIFY2(out.endsWith(tail), qPrintable(out));
  QVERIFY(QFontMetricsF(f).horizontalAdvance(out) <= 0.8 * 250);
  if (shortened) {
    QVERIFY(out.startsWith(QStringLiteral("/home/")));
    QVERIFY(out.contains(QStringLiteral("...")));
  }
  // Delegates ask for an explicit width and get the same rule.
  QCOMPARE(sw::CompactPathForWidth(QFontMetricsF(f), 0.8 * 250, path), out);
}

void TestDrawing::compactPathNullControl() {
  const QString p = QStringLiteral("/una/cartella/molto/lunga/file.txt");
  QCOMPARE(sw::CompactPath(nullptr, p), p);
}

QTEST_MAIN(TestDrawing)
#include "test_drawing.moc"
