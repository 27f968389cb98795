// The main window's life cycle: what a start reads and writes, what closing
// stores, the tab start actions, the stored options, the guide page and the
// single-instance rule.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "helpers/fakes.h"
#include "platform/desktop_services.h"
#include "shared/temp_tree.h"
#include "ui/application.h"
#include "ui/folders_panel.h"
#include "ui/info_panel.h"
#include "ui/main_window.h"
#include "ui/tab_strip.h"

using namespace sw;

class MainWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<sw::test::FakeServices> fakes;
  std::unique_ptr<MainWindow> window;
  const QString guide = QString::fromStdString(InfoPanel::GuidePath());

  void Open() {
    window = std::make_unique<MainWindow>(fakes->services());
    window->show();
  }
  template <typename T>
  T* Child(const QString& name) const {
    T* child = window->findChild<T*>(name);
    if (!child) qFatal("no control %s", qPrintable(name));
    return child;
  }

 private slots:
  void init() {
    fakes = std::make_unique<sw::test::FakeServices>();
    fakes->volumes.volumes = {{"/", QStringLiteral("Dati"), "/dev/test1"}};
    QFile::remove(guide);
  }
  void cleanup() { window.reset(); }

  void start_data() {
    QTest::addColumn<QString>("activeTab");  // stored, "" for none
    QTest::addColumn<int>("opened");
    QTest::addColumn<bool>("confirmations");  // false: stored "0"
    QTest::newRow("clean store") << "" << 1 << true;
    QTest::newRow("tab 2") << "2" << 2 << true;
    QTest::newRow("tab 3 opens the files tab") << "3" << 1 << true;
    QTest::newRow("tab 0 would show no panel: files tab") << "0" << 1 << true;
    QTest::newRow("negative: files tab") << "-2" << 1 << true;
    QTest::newRow("confirmations off") << "" << 1 << false;
  }
  void start() {
    QFETCH(QString, activeTab);
    QFETCH(int, opened);
    QFETCH(bool, confirmations);
    if (!activeTab.isEmpty()) fakes->settings.values["ActiveTab"] = activeTab.toStdString();
    if (!confirmations) fakes->settings.values["MessageConfirmation"] = "0";
    const auto stored = fakes->settings.values;
    Open();
    for (int tab = 1; tab <= 3; ++tab)
      QCOMPARE(window->tabStrip()->panel(tab)->isVisibleTo(window->tabStrip()), tab == opened);
    QCOMPARE(Child<QCheckBox>("chkConferma")->isChecked(), confirmations);
    QCOMPARE(window->infoPanel()->messageConfirmation(), confirmations);
    QVERIFY(fakes->settings.values == stored);  // nothing written over the store
    QVERIFY(fakes->messages.shown.isEmpty());
  }

  void tabStartActionsAndClosing_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("parts");  // of the status bar, part 0 holding " File: 3" before
    QTest::addColumn<bool>("timer");
    QTest::newRow("files") << 1 << QStringList{" File: 3", "", ""} << false;
    QTest::newRow("folders") << 2 << QStringList{"", "Cartelle speciali di sistema", "Tools di sistema"} << true;
    QTest::newRow("information") << 3 << QStringList{" File: 3", "", "Informazioni su Sorrelwick"} << false;
  }
  void tabStartActionsAndClosing() {
    QFETCH(int, tab);
    QFETCH(QStringList, parts);
    QFETCH(bool, timer);
    Open();
    window->tabStrip()->selectTab(tab == 2 ? 3 : 2);
    window->statusBar().SetText(0, QStringLiteral(" File: 3"));
    window->tabStrip()->selectTab(tab);
    for (int part = 0; part < 3; ++part) QCOMPARE(window->statusBar().GetText(part), parts[part]);
    QCOMPARE(window->foldersPanel()->timer().isActive(), timer);
    window->close();
    QCOMPARE(fakes->settings.values["ActiveTab"], std::to_string(tab));
  }

  void checkBoxGroupsAreNotWrittenBackWhileRestoring() {
    fakes->settings.values = {{"GroupAttributi", "1"}, {"GroupCleaning3", "1"}, {"GroupCleaning4", "2"}};
    Open();
    QVERIFY(!Child<QCheckBox>("chkAttributi")->isChecked());  // automatic cleaning always starts unticked
    QVERIFY(window->foldersPanel()->chkMultiClear(3)->isChecked());
    QVERIFY(!window->foldersPanel()->chkMultiClear(4)->isChecked());  // 2 is not a state
    Child<QRadioButton>("optAuto_1")->click();
    QVERIFY(Child<QCheckBox>("chkAttributi")->isChecked());
    QVERIFY(fakes->settings.writes.empty());
  }

  void userClicksAreStored() {
    Open();
    Child<QCheckBox>("chkConferma")->click();
    QCOMPARE(fakes->settings.values["MessageConfirmation"], std::string("0"));
    Child<QCheckBox>("chkConferma")->click();
    QCOMPARE(fakes->settings.values["MessageConfirmation"], std::string("1"));
    window->foldersPanel()->chkMultiClear(3)->click();
    for (int i = 0; i < FoldersPanel::kFolders; ++i)
      QCOMPARE(fakes->settings.values["GroupCleaning" + std::to_string(i)], std::string(i == 3 ? "1" : "0"));
    Child<QRadioButton>("optAuto_1")->click();
    Child<QCheckBox>("chkAttributi")->click();
    QCOMPARE(fakes->settings.values["GroupAttributi"], std::string("1"));
  }

  void guidePage_data() {
    QTest::addColumn<bool>("planted");  // a link to someone else's file at the guide's path
    QTest::newRow("written, opened and removed at close") << false;
    QTest::newRow("a planted link is never followed") << true;
  }
  void guidePage() {
    QFETCH(bool, planted);
    sw::test::TempTree tree;
    tree.file("victim", 8);
    const QString victim = QString::fromStdString(tree.path("victim"));
    if (planted) QVERIFY(QFile::link(victim, guide));
    Open();
    Child<QPushButton>("cmdStampa")->click();
    QCOMPARE(fakes->launcher.requests, planted ? QStringList() : QStringList{"file:" + guide});
    QCOMPARE(fakes->messages.shown, planted ? QStringList{"16 Impossibile visualizzare la guida."} : QStringList());
    QFile written(guide);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().contains("<title>Guida Sorrelwick</title>"), !planted);
    window->close();
    QCOMPARE(QFileInfo::exists(guide), planted);  // the planted link is not ours to remove
    QCOMPARE(QFileInfo(victim).size(), 8);
  }

  void links_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("request");
    QTest::newRow("mail") << "lblEmail" << false
                          << "address:mailto:sorrelwick@example.org?Subject=Sorrelwick - Versione 2.1.0";
    QTest::newRow("home page") << "lblHomePage" << true << "address:https://example.org/sorrelwick/";
    QTest::newRow("logo") << "imgLogo" << true << "address:https://example.org/";
  }
  void links() {
    QFETCH(QString, control);
    QFETCH(bool, closes);
    QFETCH(QString, request);
    Open();
    window->tabStrip()->selectTab(3);
    QTest::mouseClick(Child<QLabel>(control), Qt::LeftButton);
    QCOMPARE(fakes->launcher.requests, QStringList{request});
    QTest::qWait(20);
    QCOMPARE(window->isVisible(), !closes);
  }

  void secondInstanceIsRefusedWithAMessage() {
    SingleInstance first;
    QVERIFY(first.TryLock());
    SingleInstance second;
    QVERIFY(!CheckSingleInstance(second, fakes->messages));
    QCOMPARE(fakes->messages.shown, QStringList{"64 Sorrelwick è già in esecuzione"});
  }

  void controlsWithoutTextHaveASpokenName() {
    Open();
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
      if (button->text().isEmpty()) QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
  }
};

SW_TEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
