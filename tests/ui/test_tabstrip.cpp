// Clicking, keyboard switching, panels and painting of the hand-drawn tabs,
// plus the shared shadow and path-shortening helpers in real widgets.
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include "ui/drawing.h"
#include "ui/tab_strip.h"

using sw::TabStrip;

namespace {

// A shown top-level window holding the strip and one focusable control per panel.
struct Window {
  QWidget top;
  TabStrip* strip = new TabStrip(&top);
  std::array<QWidget*, 3> panels{};
  std::array<QLineEdit*, 3> edits{};
  QLabel* label = strip->findChild<QLabel*>(QStringLiteral("lblCursorTab"));
  bool active = false;

  Window() {
    top.resize(640, 420);
    strip->setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    strip->setPalette(QPalette(QColor(212, 208, 200)));  // derives light and dark
    strip->setGeometry(8, 10, 600, 380);
    for (int i = 0; i < 3; ++i) edits[i] = new QLineEdit(panels[i] = new QWidget);
    strip->setPanels(panels);
    top.show();
    active = QTest::qWaitForWindowActive(&top);
  }
  // Tab edges for the captions as measured in the strip's font; each tab
  // answers clicks up to the next one's left edge.
  sw::TabLayout expected() const {
    const QFontMetricsF fm(strip->font());
    sw::CaptionWidths widths{};
    for (int i = 0; i < 3; ++i) widths[i] = fm.horizontalAdvance(TabStrip::caption(i + 1));
    return sw::LayoutTabs(widths);
  }
};

}  // namespace

class TestTabStrip : public QObject {
  Q_OBJECT

 private slots:
  void clicks_data() {
    QTest::addColumn<bool>("onLabel");
    QTest::addColumn<QPoint>("pos");    // in strip coordinates
    QTest::addColumn<int>("expected");  // 0: no tab, no signal
    const sw::TabLayout e = Window().expected();
    QTest::newRow("last pixel of tab 1") << false << QPoint(e.x[1] - 1, 10) << 1;
    QTest::newRow("first pixel of tab 2") << false << QPoint(e.x[1], 10) << 2;
    QTest::newRow("right of last tab") << false << QPoint(e.x[2] + e.w[2] - 1, 10) << 0;
    QTest::newRow("label: first pixel of tab 3") << true << QPoint(e.x[2], 20) << 3;
    QTest::newRow("label: row above tabs") << true << QPoint(e.x[1] + 5, 3) << 0;
  }

  void clicks() {
    QFETCH(bool, onLabel);
    QFETCH(QPoint, pos);
    QFETCH(int, expected);
    Window w;
    QSignalSpy spy(w.strip, &TabStrip::tabSelected);
    QWidget* target = onLabel ? static_cast<QWidget*>(w.label) : w.strip;
    QTest::mousePress(target, Qt::LeftButton, {}, onLabel ? pos - w.label->pos() : pos);
    QCOMPARE(spy.count(), expected == 0 ? 0 : 1);
    QCOMPARE(w.strip->activeTab(), expected == 0 ? 1 : expected);
  }

  void switchingDisabled() {
    Window w;
    QVERIFY(w.active);
    w.edits[0]->setFocus();
    const QPoint tab2(w.expected().x[1] + 10, 10);
    w.strip->setTabSwitchingEnabled(false);
    QSignalSpy spy(w.strip, &TabStrip::tabSelected);
    // Through the window, so Qt hands the press to the disabled label's parent.
    QTest::mouseClick(w.top.windowHandle(), Qt::LeftButton, {}, w.strip->mapTo(&w.top, tab2));
    QTest::mousePress(w.strip, Qt::LeftButton, {}, QPoint(tab2.x(), 25));
    QTest::keyClick(w.edits[0], Qt::Key_Tab, Qt::ControlModifier);
    w.strip->setFocus();
    QTest::keyClick(w.strip, Qt::Key_Right);
    QCOMPARE(spy.count(), 0);
    w.strip->selectTab(3);  // the window itself may still switch
    QCOMPARE(w.strip->activeTab(), 3);
    w.strip->setTabSwitchingEnabled(true);
    QTest::mousePress(w.label, Qt::LeftButton, {}, tab2 - w.label->pos());
    QCOMPARE(w.strip->activeTab(), 2);
  }

  void keyboard_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<int>("expected");
    QTest::newRow("ctrl+tab wraps") << 3 << QKeySequence(Qt::CTRL | Qt::Key_Tab) << 1;
    QTest::newRow("ctrl+shift+tab wraps") << 1 << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab) << 3;
    QTest::newRow("right on strip") << 1 << QKeySequence(Qt::Key_Right) << 2;
  }

  void keyboard() {
    QFETCH(int, start);
    QFETCH(QKeySequence, keys);
    QFETCH(int, expected);
    Window w;
    w.strip->selectTab(start);
    // Ctrl+Tab is typed inside the visible panel, arrows on the focused strip.
    QWidget* target = keys[0].keyboardModifiers() ? w.edits[start - 1] : static_cast<QWidget*>(w.strip);
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());
    QTest::keySequence(target, keys);
    QCOMPARE(w.strip->activeTab(), expected);
  }

  void selectAndPanels() {
    Window w;
    QSignalSpy spy(w.strip, &TabStrip::tabSelected);
    // Reselecting refreshes the tab's contents, so it emits again.
    w.strip->selectTab(2);
    w.strip->selectTab(2);
    QTest::mousePress(w.strip, Qt::LeftButton, {}, QPoint(w.expected().x[1] + 3, 20));
    QCOMPARE(spy.count(), 3);
    for (int tab : {3, 1}) {
      w.strip->selectTab(tab);
      for (int i = 0; i < 3; ++i) QCOMPARE(w.panels[i]->isVisible(), i == tab - 1);
    }
    QCOMPARE(w.panels[0]->geometry(), QRect(6, 30, 588, 344));
  }

  void painting() {
    Window w;
    w.strip->selectTab(2);
    const QImage img = w.strip->grab().toImage();
    const sw::TabLayout e = w.expected();
    const int x = e.x[1], r = e.x[1] + e.w[1], x1 = e.x[0] + 12;
    const QColor orange(249, 169, 0), pale(246, 196, 86), activeFace(250, 248, 243);
    const QColor face = w.strip->palette().button().color(), light = w.strip->palette().light().color();
    // Orange band one pixel wider per row over the raised tab (light top edge at
    // y 1), its face open to the panel, and tab 1 inactive with its baseline.
    const std::pair<QPoint, QColor> pixels[] = {{{x - 1, 2}, orange}, {{r + 1, 2}, orange}, {{x - 2, 3}, pale},
                                                {{r + 3, 4}, orange}, {{x + 10, 1}, light}, {{x - 3, 24}, activeFace},
                                                {{x + 10, 27}, face}, {{x1, 24}, face},     {{x1, 27}, light}};
    for (const auto& [pt, colour] : pixels)
      QVERIFY2(QColor(img.pixel(pt)) == colour, qPrintable(QStringLiteral("at %1,%2").arg(pt.x()).arg(pt.y())));
    QVERIFY(QColor(img.pixel(x - 2, 2)) != orange);
  }

  void shadowAndCompactPath() {
    QImage img(100, 80, QImage::Format_RGB32);
    img.fill(QColor(240, 240, 240));
    QPainter p(&img);
    sw::DrawShadow(p, QRect(10, 10, 50, 30), QColor(240, 240, 240));
    p.end();
    // Inner band then rim along the right (x 60, 61) and bottom (y 40, 41).
    auto grey = [&img](int x, int y) { return qRed(img.pixel(x, y)); };
    QCOMPARE((QList<int>{grey(60, 25), grey(61, 25), grey(62, 25), grey(30, 40), grey(30, 41)}),
             (QList<int>{220, 230, 240, 220, 230}));

    QLineEdit control;
    control.resize(250, 20);
    const QString path = QStringLiteral(
        "/home/utente/Documenti/relazioni già approvate/"
        "università/perché così.odt");
    const QString out = sw::CompactPath(&control, path);
    QVERIFY2(out.startsWith(u"/home/") && out.endsWith(u"/perché così.odt"), qPrintable(out));
    QVERIFY(QFontMetricsF(control.font()).horizontalAdvance(out) <= 0.8 * 250);
    QCOMPARE(sw::CompactPath(nullptr, path), path);
  }
};

QTEST_MAIN(TestTabStrip)
#include "test_tabstrip.moc"
