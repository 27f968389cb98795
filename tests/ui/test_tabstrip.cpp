// Clicking, keyboard switching, panels and painting of the hand-drawn tabs.
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <array>
#include <cmath>
#include <memory>

#include "ui/tab_strip.h"

using sw::TabStrip;

namespace {

// Expected geometry worked out independently of the strip from the
// captions measured in `font`.
struct Expected {
  std::array<int, 3> x{};
  std::array<int, 3> w{};
  std::array<int, 3> hitLimit{};  // first x that no longer selects tab i
};

Expected ExpectedFor(const QFont& font) {
  const QFontMetricsF fm(font);
  Expected e;
  int x = 6;
  for (int i = 0; i < 3; ++i) {
    const double tw = fm.horizontalAdvance(TabStrip::caption(i + 1));
    e.x[i] = x;
    e.w[i] = static_cast<int>(std::nearbyint(tw + 64));
    e.hitLimit[i] = static_cast<int>(std::nearbyint(x + tw + 63));
    x += e.w[i] - 1;
  }
  return e;
}

QFont SmallFont() {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPointSizeF(8.25);
  return f;
}

QFont LargeFont() {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPointSize(12);
  return f;
}

const QColor kFace(212, 208, 200);
const QColor kLight(255, 255, 255);
const QColor kDark(128, 128, 128);

// A top-level window holding the strip and one focusable control per panel,
// as the main window does.
struct Window {
  QWidget top;
  TabStrip* strip = nullptr;
  std::array<QWidget*, 3> panels{};
  std::array<QLineEdit*, 3> edits{};

  explicit Window(const QFont& font) {
    top.resize(640, 420);
    strip = new TabStrip(&top);
    strip->setFont(font);
    QPalette pal = strip->palette();
    pal.setColor(QPalette::Button, kFace);
    pal.setColor(QPalette::Light, kLight);
    pal.setColor(QPalette::Dark, kDark);
    pal.setColor(QPalette::ButtonText, Qt::black);
    strip->setPalette(pal);
    strip->setGeometry(8, 10, 600, 380);
    for (int i = 0; i < 3; ++i) {
      panels[i] = new QWidget;
      panels[i]->setObjectName(QStringLiteral("picTab%1").arg(i));
      edits[i] = new QLineEdit(panels[i]);
    }
    strip->setPanels(panels);
  }
};

}  // namespace

class TestTabStrip : public QObject {
  Q_OBJECT

 private slots:
  void containerClicks_data();
  void containerClicks();
  void labelClicks_data();
  void labelClicks();
  void switchingDisabled();
  void labelDisabledOnItsOwn();
  void keyboard_data();
  void keyboard();
  void selectTabNumbers_data();
  void selectTabNumbers();
  void reselectEmitsAgain();
  void panels();
  void painting_data();
  void painting();
  void accessibility();
};

void TestTabStrip::containerClicks_data() {
  QTest::addColumn<QFont>("font");
  QTest::addColumn<QPoint>("pos");
  QTest::addColumn<int>("expected");  // 0: no tab, no signal

  const std::array<std::pair<const char*, QFont>, 2> fonts{
      {{"small", SmallFont()}, {"large", LargeFont()}}};
  for (const auto& [name, font] : fonts) {
    const Expected e = ExpectedFor(font);
    auto row = [&](const char* what, QPoint p, int tab) {
      QTest::addRow("%s %s", name, what) << font << p << tab;
    };
    row("left of tab 1", QPoint(2, 10), 1);
    row("last pixel of tab 1", QPoint(e.hitLimit[0] - 1, 10), 1);
    row("first pixel of tab 2", QPoint(e.hitLimit[0], 10), 2);
    row("last pixel of tab 2", QPoint(e.hitLimit[1] - 1, 10), 2);
    row("first pixel of tab 3", QPoint(e.hitLimit[1], 10), 3);
    row("last pixel of tab 3", QPoint(e.hitLimit[2] - 1, 10), 3);
    row("right of last tab", QPoint(e.hitLimit[2], 10), 0);
    row("row above tabs", QPoint(e.x[1] + 5, 3), 0);
    row("top row", QPoint(e.x[1] + 5, 4), 2);
    row("baseline", QPoint(e.x[2] + 5, 27), 3);
    row("below baseline", QPoint(e.x[2] + 5, 28), 0);
  }
}

void TestTabStrip::containerClicks() {
  QFETCH(QFont, font);
  QFETCH(QPoint, pos);
  QFETCH(int, expected);

  Window w(font);
  QSignalSpy spy(w.strip, &TabStrip::tabSelected);
  QTest::mousePress(w.strip, Qt::LeftButton, {}, pos);
  if (expected == 0) {
    QCOMPARE(spy.count(), 0);
    QCOMPARE(w.strip->activeTab(), 1);
  } else {
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), expected);
    QCOMPARE(w.strip->activeTab(), expected);
  }
}

void TestTabStrip::labelClicks_data() {
  QTest::addColumn<QPoint>("labelPos");
  QTest::addColumn<int>("expected");
  const Expected e = ExpectedFor(SmallFont());
  // The label sits at (8, 3) in the strip.
  QTest::newRow("start of label") << QPoint(0, 1) << 1;
  // (Not (0, 0): QTest reads a null point as "the centre".)
  QTest::newRow("top row of label is above the tabs") << QPoint(5, 0) << 0;
  QTest::newRow("last pixel of tab 1")
      << QPoint(e.hitLimit[0] - 1 - 8, 7) << 1;
  QTest::newRow("first pixel of tab 2") << QPoint(e.hitLimit[0] - 8, 7) << 2;
  QTest::newRow("first pixel of tab 3") << QPoint(e.hitLimit[1] - 8, 19) << 3;
}

void TestTabStrip::labelClicks() {
  QFETCH(QPoint, labelPos);
  QFETCH(int, expected);

  Window w(SmallFont());
  auto* label = w.strip->findChild<QLabel*>(QStringLiteral("lblCursorTab"));
  QVERIFY(label);
  QSignalSpy spy(w.strip, &TabStrip::tabSelected);
  QTest::mousePress(label, Qt::LeftButton, {}, labelPos);
  QCOMPARE(spy.count(), expected == 0 ? 0 : 1);
  if (expected != 0) QCOMPARE(spy.at(0).at(0).toInt(), expected);
}

void TestTabStrip::switchingDisabled() {
  Window w(SmallFont());
  w.top.show();
  QVERIFY(QTest::qWaitForWindowActive(&w.top));
  w.edits[0]->setFocus();
  auto* label = w.strip->findChild<QLabel*>(QStringLiteral("lblCursorTab"));
  const Expected e = ExpectedFor(SmallFont());
  const QPoint tab2(e.x[1] + 10, 10);

  w.strip->setTabSwitchingEnabled(false);
  QVERIFY(!w.strip->tabSwitchingEnabled());
  QVERIFY(!label->isEnabled());
  QSignalSpy spy(w.strip, &TabStrip::tabSelected);
  QTest::mousePress(w.strip, Qt::LeftButton, {}, tab2);
  QTest::mousePress(w.strip, Qt::RightButton, {}, QPoint(e.x[2] + 10, 20));
  QTest::mousePress(label, Qt::LeftButton, {}, tab2 - label->pos());
  QTest::keyClick(w.edits[0], Qt::Key_Tab, Qt::ControlModifier);
  w.strip->setFocus();
  QTest::keyClick(w.strip, Qt::Key_Right);
  QCOMPARE(spy.count(), 0);
  QCOMPARE(w.strip->activeTab(), 1);

  // The window itself may still switch, e.g. to show results.
  w.strip->selectTab(3);
  QCOMPARE(spy.count(), 1);

  w.strip->setTabSwitchingEnabled(true);
  QVERIFY(label->isEnabled());
  QTest::mousePress(w.strip, Qt::RightButton, {}, tab2);
  QCOMPARE(w.strip->activeTab(), 2);
}

void TestTabStrip::labelDisabledOnItsOwn() {
  // Disabled children pass presses to their parent; the part of the strip
  // under a disabled label must not react to them.
  Window w(SmallFont());
  w.top.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w.top));
  auto* label = w.strip->findChild<QLabel*>(QStringLiteral("lblCursorTab"));
  label->setEnabled(false);
  QSignalSpy spy(w.strip, &TabStrip::tabSelected);
  const Expected e = ExpectedFor(SmallFont());
  const QPoint inLabel(e.x[1] + 10, 10);
  // Through the window, so Qt picks the (disabled) label as receiver.
  QTest::mouseClick(w.top.windowHandle(), Qt::LeftButton, {},
                    w.strip->mapTo(&w.top, inLabel));
  QTest::mousePress(w.strip, Qt::LeftButton, {}, inLabel);
  QCOMPARE(spy.count(), 0);
  // Outside the label the strip still answers.
  QTest::mousePress(w.strip, Qt::LeftButton, {}, QPoint(e.x[1] + 10, 25));
  QCOMPARE(w.strip->activeTab(), 2);
}

void TestTabStrip::keyboard_data() {
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<bool>("focusStrip");
  QTest::addColumn<int>("expected");
  QTest::addColumn<int>("emitted");

  const int ctrl = Qt::ControlModifier;
  const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
  QTest::newRow("ctrl+tab next") << 1 << int(Qt::Key_Tab) << ctrl << false << 2 << 1;
  QTest::newRow("ctrl+tab wraps") << 3 << int(Qt::Key_Tab) << ctrl << false << 1 << 1;
  QTest::newRow("ctrl+shift+tab previous") << 2 << int(Qt::Key_Tab) << ctrlShift << false << 1 << 1;
  QTest::newRow("ctrl+shift+tab wraps") << 1 << int(Qt::Key_Tab) << ctrlShift << false << 3 << 1;
  QTest::newRow("ctrl+shift+backtab wraps") << 1 << int(Qt::Key_Backtab) << ctrlShift << false << 3 << 1;
  QTest::newRow("ctrl+tab from strip") << 2 << int(Qt::Key_Tab) << ctrl << true << 3 << 1;
  QTest::newRow("right") << 1 << int(Qt::Key_Right) << 0 << true << 2 << 1;
  QTest::newRow("left") << 3 << int(Qt::Key_Left) << 0 << true << 2 << 1;
  QTest::newRow("right stops at last") << 3 << int(Qt::Key_Right) << 0 << true << 3 << 0;
  QTest::newRow("left stops at first") << 1 << int(Qt::Key_Left) << 0 << true << 1 << 0;
  QTest::newRow("arrows need strip focus") << 1 << int(Qt::Key_Right) << 0 << false << 1 << 0;
}

void TestTabStrip::keyboard() {
  QFETCH(int, start);
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(bool, focusStrip);
  QFETCH(int, expected);
  QFETCH(int, emitted);

  Window w(SmallFont());
  w.top.show();
  QVERIFY(QTest::qWaitForWindowActive(&w.top));
  w.strip->selectTab(start);
  // Otherwise focus is inside the visible panel, as when the user types.
  QWidget* target = focusStrip ? static_cast<QWidget*>(w.strip)
                               : static_cast<QWidget*>(w.edits[start - 1]);
  target->setFocus();
  QTRY_VERIFY(target->hasFocus());
  QSignalSpy spy(w.strip, &TabStrip::tabSelected);
  QTest::keyClick(target, static_cast<Qt::Key>(key),
                  static_cast<Qt::KeyboardModifiers>(modifiers));
  QCOMPARE(w.strip->activeTab(), expected);
  QCOMPARE(spy.count(), emitted);
}

void TestTabStrip::selectTabNumbers_data() {
  QTest::addColumn<int>("tab");
  QTest::addColumn<int>("expected");
  QTest::addColumn<int>("emitted");
  QTest::newRow("tab 3") << 3 << 3 << 1;
  QTest::newRow("tab 1") << 1 << 1 << 1;
  QTest::newRow("zero opens tab 1") << 0 << 1 << 1;
  QTest::newRow("negative opens tab 1") << -7 << 1 << 1;
  QTest::newRow("four ignored") << 4 << 2 << 0;
  QTest::newRow("large ignored") << 1000 << 2 << 0;
}

void TestTabStrip::selectTabNumbers() {
  QFETCH(int, tab);
  QFETCH(int, expected);
  QFETCH(int, emitted);
  Window w(SmallFont());
  w.strip->selectTab(2);
  QSignalSpy spy(w.strip, &TabStrip::tabSelected);
  w.strip->selectTab(tab);
  QCOMPARE(w.strip->activeTab(), expected);
  QCOMPARE(spy.count(), emitted);
  QCOMPARE(w.panels[expected - 1]->isVisibleTo(w.strip), true);
}

void TestTabStrip::reselectEmitsAgain() {
  Window w(SmallFont());
  QSignalSpy spy(w.strip, &TabStrip::tabSelected);
  w.strip->selectTab(2);
  w.strip->selectTab(2);
  const Expected e = ExpectedFor(SmallFont());
  QTest::mousePress(w.strip, Qt::LeftButton, {}, QPoint(e.x[1] + 3, 20));
  QCOMPARE(spy.count(), 3);
  for (const auto& args : spy) QCOMPARE(args.at(0).toInt(), 2);
}

void TestTabStrip::panels() {
  Window w(SmallFont());
  w.top.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w.top));
  for (QWidget* p : w.panels) QCOMPARE(p->parentWidget(), w.strip);

  for (int tab : {2, 3, 1, 1}) {
    w.strip->selectTab(tab);
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(w.panels[i]->isVisible(), i == tab - 1);
    }
  }
  QCOMPARE(w.panels[1]->geometry(), QRect(6, 30, 600 - 12, 380 - 36));
  w.strip->resize(500, 300);
  for (QWidget* p : w.panels) QCOMPARE(p->geometry(), QRect(6, 30, 488, 264));

  // Focus inside the shown panel survives reselecting its tab.
  w.edits[0]->setFocus();
  QTRY_VERIFY(w.edits[0]->hasFocus());
  w.strip->selectTab(1);
  QVERIFY(w.edits[0]->hasFocus());

  // A panel its owner deleted is simply absent.
  delete w.panels[2];
  w.strip->selectTab(3);
  QCOMPARE(w.strip->panel(3), nullptr);
  QVERIFY(!w.panels[0]->isVisible());
}

void TestTabStrip::painting_data() {
  QTest::addColumn<int>("active");
  QTest::newRow("tab 1 active") << 1;
  QTest::newRow("tab 2 active") << 2;
  QTest::newRow("tab 3 active") << 3;
}

void TestTabStrip::painting() {
  QFETCH(int, active);
  Window w(SmallFont());
  w.strip->selectTab(active);
  const QImage img = w.strip->grab().toImage();
  const Expected e = ExpectedFor(SmallFont());
  const int x = e.x[active - 1];
  const int wd = e.w[active - 1];
  auto at = [&img](int px, int py) { return QColor(img.pixel(px, py)); };
  const QColor orange(249, 169, 0);
  const QColor paleOrange(246, 196, 86);
  const QColor activeFace(250, 248, 243);

  // Orange band over the raised tab, widening by one pixel per row.
  QCOMPARE(at(x - 1, 2), orange);
  QCOMPARE(at(x + wd + 1, 2), orange);
  QCOMPARE(at(x - 2, 3), paleOrange);
  QCOMPARE(at(x + wd + 2, 3), paleOrange);
  QCOMPARE(at(x - 3, 4), orange);
  QCOMPARE(at(x + wd + 3, 4), orange);
  QVERIFY(at(x - 2, 2) != orange);
  QVERIFY(at(x - 3, 3) != paleOrange);

  // Raised edges.
  QCOMPARE(at(x + 10, 1), kLight);
  QCOMPARE(at(x - 4, 20), kLight);
  QCOMPARE(at(x + wd + 3, 20), kDark);

  // Face of the active tab, just inside its edges and away from the caption.
  QCOMPARE(at(x - 3, 24), activeFace);
  QCOMPARE(at(x + wd + 2, 24), activeFace);
  QCOMPARE(at(x + 2, 6), activeFace);
  // The tab opens into the panel: no light baseline under it.
  QCOMPARE(at(x + 10, 27), kFace);

  // An inactive neighbour keeps the plain face and the light baseline.
  const int other = active == 1 ? 2 : 1;
  const int ox = e.x[other - 1];
  QCOMPARE(at(ox + 12, 24), kFace);
  QCOMPARE(at(ox + 12, 27), kLight);
  QCOMPARE(at(ox + 12, 4), kLight);
  // Container frame.
  QCOMPARE(at(0, 200), kLight);
  QCOMPARE(at(599, 200), kDark);
  QCOMPARE(at(300, 379), kDark);
}

void TestTabStrip::accessibility() {
  // The description follows the active tab so screen readers announce it.
  Window w(SmallFont());
  w.strip->selectTab(3);
  QVERIFY(w.strip->accessibleDescription().contains(QStringLiteral("Informazioni")));
  w.strip->selectTab(2);
  QVERIFY(w.strip->accessibleDescription().contains(
      QStringLiteral("Cartelle e strumenti")));
}

QTEST_MAIN(TestTabStrip)
#include "test_tabstrip.moc"
