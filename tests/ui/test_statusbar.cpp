// Docking, parts, texts and attached controls of the status bar.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSizeGrip>
#include <QTest>
#include <algorithm>
#include <memory>

#include "ui/status_bar.h"

using sw::StatusBar;

namespace {

// The bar docks into `host`, a child of a shown window so resizes are
// delivered at once.
struct Fixture {
  QWidget top;
  QWidget* host = nullptr;
  StatusBar bar;

  Fixture() {
    top.resize(700, 500);
    host = new QWidget(&top);
    host->setGeometry(0, 0, 600, 400);
    top.show();
  }
  int gripWidth() const {
    return bar.widget()->findChild<QSizeGrip*>()->width();
  }
  QLabel* label(int part) const {
    return bar.widget()->findChild<QLabel*>(
        QStringLiteral("objStatusBarPart%1").arg(part));
  }
};

}  // namespace

class TestStatusBar : public QObject {
  Q_OBJECT

 private slots:
  void createOnce();
  void parts_data();
  void parts();
  void setPartsLimits_data();
  void setPartsLimits();
  void textRoundTrip_data();
  void textRoundTrip();
  void styles_data();
  void styles();
  void elidedTextGetsToolTip();
  void copyObj();
  void beforeCreate();
  void ownership();
};

void TestStatusBar::createOnce() {
  Fixture f;
  QVERIFY(!f.bar.widget());
  QVERIFY(f.bar.Create(f.host));
  QWidget* w = f.bar.widget();
  QVERIFY(w);
  QCOMPARE(w->objectName(), QStringLiteral("objStatusBar"));
  QCOMPARE(w->parentWidget(), f.host);
  QVERIFY(w->isVisible());
  QVERIFY(w->height() >= StatusBar::kMinHeight);
  QCOMPARE(w->geometry(), QRect(0, 400 - w->height(), 600, w->height()));
  QCOMPARE(f.bar.PartCount(), 1);
  QCOMPARE(f.bar.PartRect(0).width(), 600 - f.gripWidth());

  QWidget other;
  QVERIFY(!f.bar.Create(f.host));
  QVERIFY(!f.bar.Create(&other));
  QCOMPARE(f.bar.widget(), w);
  QCOMPARE(w->parentWidget(), f.host);

  f.bar.Hide();
  QVERIFY(!w->isVisible());
  f.bar.Show();
  QVERIFY(w->isVisible());

  StatusBar fresh;
  QVERIFY(!fresh.Create(nullptr));
  QVERIFY(!fresh.widget());
}

void TestStatusBar::parts_data() {
  QTest::addColumn<std::vector<int>>("edges");
  QTest::newRow("fixed, fixed, rest") << std::vector<int>{60, 230, -1};
  QTest::newRow("single stretching") << std::vector<int>{-1};
  QTest::newRow("fixed only") << std::vector<int>{50, 120};
  QTest::newRow("fixed after stretching, extra edge unused")
      << std::vector<int>{80, -1, 500, 600};
}

void TestStatusBar::parts() {
  QFETCH(std::vector<int>, edges);
  Fixture f;
  QVERIFY(f.bar.Create(f.host));
  const int count = std::min<int>(3, static_cast<int>(edges.size()));
  QVERIFY(f.bar.SetParts(count, edges));
  QCOMPARE(f.bar.PartCount(), count);
  QCOMPARE(f.bar.widget()->findChildren<QLabel*>().size(), count);

  auto check = [&](int barWidth) {
    const int fullRight = barWidth - f.gripWidth();
    int left = 0;
    for (int i = 0; i < count; ++i) {
      const int right = edges[i] == -1 ? fullRight : edges[i];
      QLabel* label = f.label(i);
      QVERIFY(label);
      QCOMPARE(label->x(), left);
      // A fixed edge left of where the part starts leaves it empty.
      QCOMPARE(label->width(), std::max(0, right - left));
      QCOMPARE(f.bar.PartRect(i), label->geometry());
      left = right;
    }
  };
  check(600);
  std::vector<int> before;
  for (int i = 0; i < count; ++i) before.push_back(f.label(i)->width());

  f.host->resize(700, 400);
  QCOMPARE(f.bar.widget()->width(), 700);
  QCOMPARE(f.bar.widget()->y(), 400 - f.bar.widget()->height());
  check(700);
  for (int i = 0; i < count; ++i) {
    QCOMPARE(f.label(i)->width() - before[i], edges[i] == -1 ? 100 : 0);
  }
}

void TestStatusBar::setPartsLimits_data() {
  QTest::addColumn<int>("count");
  QTest::addColumn<int>("edgeCount");
  QTest::addColumn<bool>("accepted");
  QTest::newRow("one") << 1 << 1 << true;
  QTest::newRow("255") << 255 << 255 << true;
  QTest::newRow("more edges than parts") << 2 << 5 << true;
  QTest::newRow("zero") << 0 << 0 << false;
  QTest::newRow("zero with edges") << 0 << 3 << false;
  QTest::newRow("256") << 256 << 256 << false;
  QTest::newRow("negative") << -1 << 1 << false;
  QTest::newRow("too few edges") << 3 << 2 << false;
}

void TestStatusBar::setPartsLimits() {
  QFETCH(int, count);
  QFETCH(int, edgeCount);
  QFETCH(bool, accepted);
  Fixture f;
  QVERIFY(f.bar.Create(f.host));
  QVERIFY(f.bar.SetParts(2, {100, -1}));
  f.bar.SetText(0, QStringLiteral("resta"));
  const QRect part1 = f.bar.PartRect(1);

  std::vector<int> edges;
  for (int i = 0; i < edgeCount; ++i) edges.push_back(i + 1);
  if (!edges.empty()) edges.back() = -1;
  QCOMPARE(f.bar.SetParts(count, edges), accepted);
  QCOMPARE(f.bar.PartCount(), accepted ? count : 2);
  QCOMPARE(f.bar.widget()->findChildren<QLabel*>().size(), f.bar.PartCount());
  // The first part survives either way and keeps its text.
  QCOMPARE(f.bar.GetText(0), QStringLiteral("resta"));
  if (!accepted) QCOMPARE(f.bar.PartRect(1), part1);
}

void TestStatusBar::textRoundTrip_data() {
  QTest::addColumn<QString>("text");
  QTest::newRow("empty") << QString();
  QTest::newRow("plain") << QStringLiteral("Pronto");
  QTest::newRow("accented")
      << QStringLiteral("Pulizia completata: è tutto più leggero, però già");
  QTest::newRow("markup stays text") << QStringLiteral("<b>1 & 2</b>");
  QTest::newRow("blanks kept") << QStringLiteral("  spazi  ");
}

void TestStatusBar::textRoundTrip() {
  QFETCH(QString, text);
  Fixture f;
  QVERIFY(f.bar.Create(f.host));
  QVERIFY(f.bar.SetParts(2, {400, -1}));
  f.bar.SetText(0, QStringLiteral("prima"));
  f.bar.SetText(0, text);
  QCOMPARE(f.bar.GetText(0), text);
  QCOMPARE(f.label(0)->text(), text);  // fits: shown as given
  QCOMPARE(f.label(0)->textFormat(), Qt::PlainText);
  QVERIFY(f.label(0)->toolTip().isEmpty());
  QVERIFY(f.bar.GetText(1).isEmpty());

  // Out-of-range parts are ignored.
  f.bar.SetText(2, QStringLiteral("x"));
  f.bar.SetText(-1, QStringLiteral("x"));
  QVERIFY(f.bar.GetText(2).isEmpty());
  QVERIFY(f.bar.GetText(-1).isEmpty());
  QCOMPARE(f.bar.GetText(0), text);
}

void TestStatusBar::styles_data() {
  QTest::addColumn<int>("style");
  QTest::addColumn<int>("shape");
  QTest::addColumn<int>("shadow");
  QTest::newRow("sunken") << 0 << int(QFrame::Panel) << int(QFrame::Sunken);
  QTest::newRow("no borders") << 0x100 << int(QFrame::NoFrame) << int(QFrame::Plain);
  QTest::newRow("popout") << 0x200 << int(QFrame::Panel) << int(QFrame::Raised);
  QTest::newRow("unknown bits ignored") << 0x400 << int(QFrame::Panel) << int(QFrame::Sunken);
  QTest::newRow("popout plus unknown") << 0x1200 << int(QFrame::Panel) << int(QFrame::Raised);
}

void TestStatusBar::styles() {
  QFETCH(int, style);
  QFETCH(int, shape);
  QFETCH(int, shadow);
  Fixture f;
  QVERIFY(f.bar.Create(f.host));
  f.bar.SetText(0, QStringLiteral("x"), style);
  QCOMPARE(int(f.label(0)->frameShape()), shape);
  if (shape != QFrame::NoFrame) QCOMPARE(int(f.label(0)->frameShadow()), shadow);
}

void TestStatusBar::elidedTextGetsToolTip() {
  Fixture f;
  QVERIFY(f.bar.Create(f.host));
  QVERIFY(f.bar.SetParts(2, {60, -1}));
  const QString longText =
      QStringLiteral("Analisi di /home/utente/.cache in corso, attendere...");
  f.bar.SetText(0, longText);
  QCOMPARE(f.bar.GetText(0), longText);
  QVERIFY(f.label(0)->text() != longText);
  QVERIFY(f.label(0)->text().endsWith(QChar(0x2026)));
  QCOMPARE(f.label(0)->toolTip(), longText);
  QCOMPARE(f.label(0)->accessibleName(), longText);

  f.bar.SetText(0, QStringLiteral("Ok"));
  QVERIFY(f.label(0)->toolTip().isEmpty());

  // An explicit tooltip wins whether or not the text is cut.
  f.bar.SetToolTip(0, QStringLiteral("Stato"));
  f.bar.SetText(0, longText);
  QCOMPARE(f.label(0)->toolTip(), QStringLiteral("Stato"));
  f.bar.SetToolTip(0, QString());
  QCOMPARE(f.label(0)->toolTip(), longText);

  // Once the part is wide enough the text shows whole and the tooltip goes.
  QVERIFY(f.bar.SetParts(2, {590, -1}));
  QCOMPARE(f.label(0)->text(), longText);
  QVERIFY(f.label(0)->toolTip().isEmpty());
}

void TestStatusBar::copyObj() {
  Fixture f;
  QVERIFY(f.bar.Create(f.host));
  QVERIFY(f.bar.SetParts(3, {100, 250, -1}));
  auto* button = new QPushButton(f.host);
  button->resize(40, 12);
  button->hide();
  f.bar.CopyObj(1, button);
  QCOMPARE(button->parentWidget(), f.bar.widget());
  QCOMPARE(button->pos(), f.bar.PartRect(1).topLeft() + QPoint(1, 1));
  QCOMPARE(button->pos().x(), 101);
  QCOMPARE(button->size(), QSize(40, 12));
  QVERIFY(button->isVisible());

  // It follows its part when the layout changes.
  QVERIFY(f.bar.SetParts(3, {50, 300, -1}));
  QCOMPARE(button->pos(), QPoint(51, f.bar.PartRect(1).top() + 1));

  auto* stray = new QPushButton(f.host);
  f.bar.CopyObj(3, stray);
  f.bar.CopyObj(-1, stray);
  f.bar.CopyObj(0, nullptr);
  QCOMPARE(stray->parentWidget(), f.host);
}

void TestStatusBar::beforeCreate() {
  StatusBar bar;
  QWidget obj;
  QVERIFY(!bar.widget());
  QVERIFY(!bar.SetParts(2, {10, -1}));
  bar.SetText(0, QStringLiteral("x"));
  bar.SetToolTip(0, QStringLiteral("x"));
  bar.Show();
  bar.Hide();
  bar.Resize(&obj);
  bar.Resize(nullptr);
  bar.CopyObj(0, &obj);
  QVERIFY(bar.GetText(0).isEmpty());
  QCOMPARE(bar.PartCount(), 0);
  QVERIFY(bar.PartRect(0).isNull());
  QCOMPARE(obj.parentWidget(), nullptr);
}

void TestStatusBar::ownership() {
  // Destroying the object deletes its bar.
  QWidget host;
  QPointer<QWidget> w;
  {
    StatusBar bar;
    QVERIFY(bar.Create(&host));
    w = bar.widget();
    QVERIFY(w);
  }
  QVERIFY(w.isNull());
  host.resize(300, 200);  // the filter is gone with the object

  // The parent may delete the bar first; everything keeps working.
  auto host2 = std::make_unique<QWidget>();
  StatusBar bar;
  QVERIFY(bar.Create(host2.get()));
  host2.reset();
  QVERIFY(!bar.widget());
  bar.SetText(0, QStringLiteral("x"));
  QVERIFY(!bar.SetParts(1, {-1}));
  bar.Resize(nullptr);

  // Resize() docks against the given widget's size.
  QWidget host3;
  host3.resize(320, 240);
  StatusBar bar3;
  QVERIFY(bar3.Create(&host3));
  host3.resize(500, 300);  // hidden: no resize event reaches the filter
  bar3.Resize(&host3);
  QCOMPARE(bar3.widget()->geometry(),
           QRect(0, 300 - bar3.widget()->height(), 500, bar3.widget()->height()));
}

QTEST_MAIN(TestStatusBar)
#include "test_statusbar.moc"
