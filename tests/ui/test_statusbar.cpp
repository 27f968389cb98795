// Docking, parts and texts of the status bar.
#include <QLabel>
#include <QSizeGrip>
#include <QTest>

#include "ui/status_bar.h"

using sw::StatusBar;

namespace {

// A bar created in `host`, a child of a shown window so resizes are
// delivered at once.
struct Fixture {
  QWidget top;
  QWidget* host = new QWidget(&top);
  StatusBar bar;

  Fixture() {
    host->setGeometry(0, 0, 600, 400);
    top.show();
    created = bar.Create(host);
  }
  bool created = false;
  QLabel* label(int part) const {
    return bar.widget()->findChild<QLabel*>(QStringLiteral("objStatusBarPart%1").arg(part));
  }
};

}  // namespace

class TestStatusBar : public QObject {
  Q_OBJECT

 private slots:
  void createDockAndParts() {
    StatusBar early;
    QWidget obj;  // nothing before Create() does harm
    QVERIFY(!early.SetParts(2, {10, -1}));
    early.SetText(0, QStringLiteral("x"));
    early.Show();
    early.Resize(&obj);
    early.CopyObj(0, &obj);
    QVERIFY(early.GetText(0).isEmpty() && !obj.parentWidget());
    QVERIFY(!early.Create(nullptr));
    Fixture f;
    QVERIFY(f.created);
    QWidget* w = f.bar.widget();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->geometry(), QRect(0, 400 - w->height(), 600, w->height()));
    QVERIFY(!f.bar.Create(f.host));
    QCOMPARE(f.bar.widget(), w);

    QVERIFY(f.bar.SetParts(3, {60, 230, -1}));
    const int grip = f.bar.widget()->findChild<QSizeGrip*>()->width();
    auto spans = [&f] {  // x and width of each part
      QList<int> s;
      for (int i = 0; i < 3; ++i) s << f.label(i)->x() << f.label(i)->width();
      return s;
    };
    QCOMPARE(spans(), (QList<int>{0, 60, 60, 170, 230, 600 - grip - 230}));
    f.host->resize(700, 400);  // only the last part widens
    QCOMPARE(spans(), (QList<int>{0, 60, 60, 170, 230, 700 - grip - 230}));
  }

  void setPartsLimits_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("edgeCount");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("255") << 255 << 255 << true;
    QTest::newRow("zero") << 0 << 0 << false;
    QTest::newRow("256") << 256 << 256 << false;
    QTest::newRow("too few edges") << 3 << 2 << false;
  }

  void setPartsLimits() {
    QFETCH(int, count);
    QFETCH(int, edgeCount);
    QFETCH(bool, accepted);
    Fixture f;
    QVERIFY(f.bar.SetParts(2, {100, -1}));
    f.bar.SetText(0, QStringLiteral("resta"));
    const QRect part1 = f.bar.PartRect(1);
    QCOMPARE(f.bar.SetParts(count, std::vector<int>(edgeCount, -1)), accepted);
    QCOMPARE(f.bar.PartCount(), accepted ? count : 2);
    QCOMPARE(f.bar.GetText(0), QStringLiteral("resta"));
    if (!accepted) QCOMPARE(f.bar.PartRect(1), part1);
  }

  void textRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("accented") << QStringLiteral("Pulizia completata: è tutto più leggero");
    QTest::newRow("markup stays text") << QStringLiteral("<b>1 & 2</b>");
  }

  void textRoundTrip() {
    QFETCH(QString, text);
    Fixture f;
    f.bar.SetText(0, QStringLiteral("prima"));
    f.bar.SetText(0, text);
    QCOMPARE(f.bar.GetText(0), text);
    QCOMPARE(f.label(0)->text(), text);
    QCOMPARE(f.label(0)->textFormat(), Qt::PlainText);
  }
};

QTEST_MAIN(TestStatusBar)
#include "test_statusbar.moc"
