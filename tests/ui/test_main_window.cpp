// The main window's life cycle: what a start reads and writes, what closing
// stores, the tab start actions, the confirmation option, the guide page and
// the single-instance rule.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "core/files.h"
#include "helpers/fakes.h"
#include "platform/desktop_services.h"
#include "ui/application.h"
#include "ui/files_panel.h"
#include "ui/folders_panel.h"
#include "ui/info_panel.h"
#include "ui/main_window.h"
#include "ui/tab_strip.h"

using namespace sw;
using sw::test::FakeServices;

class MainWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<FakeServices> fakes;
  QString volumeRoot;

  std::unique_ptr<MainWindow> Open() { return std::make_unique<MainWindow>(fakes->services()); }

  template <typename T>
  static T* Child(QWidget* window, const char* name) {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no control %s", name);
    return child;
  }

private slots:
  void init() {
    fakes = std::make_unique<FakeServices>();
    volumeRoot = QDir::tempPath() + QStringLiteral("/volume");
    QDir().mkpath(volumeRoot);
    fakes->volumes.volumes = {{volumeRoot.toStdString(), QStringLiteral("Dati"), "/dev/test1"}};
    fakes->volumes.programVolume = volumeRoot.toStdString();
    QFile::remove(QString::fromStdString(InfoPanel::GuidePath()));
  }

  void firstStartReadsDefaultsAndWritesNothing() {
    auto window = Open();
    QCOMPARE(window->activeTab(), 1);
    QVERIFY(Child<QCheckBox>(window.get(), "chkConferma")->isChecked());
    QVERIFY(window->infoPanel()->messageConfirmation());
    QCOMPARE(window->windowTitle(), QStringLiteral("Sorrelwick"));
    QVERIFY(Child<QRadioButton>(window.get(), "optAuto_0")->isChecked());
    QCOMPARE(Child<QPushButton>(window.get(), "cmdClear")->text(), QStringLiteral("Invia al cestino i file selezionati"));
    QVERIFY(!Child<QPushButton>(window.get(), "cmdClear")->isEnabled());
    for (int i = 0; i < FoldersPanel::kFolders; ++i) QVERIFY(!window->foldersPanel()->chkMultiClear(i)->isChecked());
    QCOMPARE(Child<QLabel>(window.get(), "lblVersione")->text(), QStringLiteral("Versione 2.1.0"));
    QCOMPARE(Child<QLabel>(window.get(), "lbl")->text(), QStringLiteral("Applicazione per sistemi Linux"));
    QVERIFY(fakes->settings.writes.empty());
    QVERIFY(fakes->messages.shown.empty());
  }

  void storedActiveTab_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("opened");
    QTest::newRow("2 opens the folders tab") << "2" << 2;
    QTest::newRow("1 opens the files tab") << "1" << 1;
    QTest::newRow("3 opens the files tab") << "3" << 1;
    QTest::newRow("0 would show no panel: files tab") << "0" << 1;
    QTest::newRow("negative: files tab") << "-2" << 1;
  }
  void storedActiveTab() {
    QFETCH(QString, stored);
    QFETCH(int, opened);
    fakes->settings.values["ActiveTab"] = stored.toStdString();
    auto window = Open();
    QCOMPARE(window->activeTab(), opened);
    QVERIFY(window->tabStrip()->panel(opened)->isVisibleTo(window->tabStrip()));
    for (int tab = 1; tab <= 3; ++tab)
      if (tab != opened) QVERIFY(!window->tabStrip()->panel(tab)->isVisibleTo(window->tabStrip()));
  }

  void closingStoresTheActiveTab() {
    auto window = Open();
    window->show();
    window->tabStrip()->selectTab(2);
    window->close();
    QCOMPARE(fakes->settings.values["ActiveTab"], std::string("2"));
  }

  void tabStartActions_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("part1");
    QTest::addColumn<QString>("part2");
    QTest::addColumn<bool>("timer");
    QTest::newRow("files") << 1 << "" << "" << false;
    QTest::newRow("folders") << 2 << "Cartelle speciali di sistema" << "Tools di sistema" << true;
    QTest::newRow("information") << 3 << "" << "Informazioni su Sorrelwick" << false;
  }
  void tabStartActions() {
    QFETCH(int, tab);
    QFETCH(QString, part1);
    QFETCH(QString, part2);
    QFETCH(bool, timer);
    auto window = Open();
    window->statusBar().SetText(0, QStringLiteral(" File: 3"));
    window->tabStrip()->selectTab(2);
    window->tabStrip()->selectTab(tab);
    QCOMPARE(window->statusBar().GetText(1), part1);
    QCOMPARE(window->statusBar().GetText(2), part2);
    QCOMPARE(window->foldersPanel()->timer().isActive(), timer);
    // Only the folders tab clears part 0 (through the results).
    window->statusBar().SetText(0, QStringLiteral(" File: 3"));
    window->tabStrip()->selectTab(tab);
    QCOMPARE(window->statusBar().GetText(0), tab == 2 ? QString() : QStringLiteral(" File: 3"));
  }

  void confirmationOptionIsStored() {
    auto window = Open();
    auto* box = Child<QCheckBox>(window.get(), "chkConferma");
    box->click();
    QCOMPARE(fakes->settings.values["MessageConfirmation"], std::string("0"));
    QVERIFY(!window->infoPanel()->messageConfirmation());
    box->click();
    QCOMPARE(fakes->settings.values["MessageConfirmation"], std::string("1"));
    QVERIFY(window->infoPanel()->messageConfirmation());
  }

  void storedConfirmationOffUnticksTheBox() {
    fakes->settings.values["MessageConfirmation"] = "0";
    auto window = Open();
    QVERIFY(!Child<QCheckBox>(window.get(), "chkConferma")->isChecked());
    QVERIFY(!window->infoPanel()->messageConfirmation());
  }

  void checkBoxGroupsAreNotWrittenBackWhileRestoring() {
    fakes->settings.values["GroupAttributi"] = "1";
    fakes->settings.values["GroupCleaning3"] = "1";
    fakes->settings.values["GroupCleaning4"] = "2";  // not a state: left alone
    auto window = Open();
    auto* attributes = Child<QCheckBox>(window.get(), "chkAttributi");
    QVERIFY(!attributes->isChecked());  // automatic cleaning always starts unticked
    QVERIFY(window->foldersPanel()->chkMultiClear(3)->isChecked());
    QVERIFY(!window->foldersPanel()->chkMultiClear(4)->isChecked());
    Child<QRadioButton>(window.get(), "optAuto_1")->click();
    QVERIFY(attributes->isChecked());
    QVERIFY(fakes->settings.writes.empty());
  }

  void userClicksWriteTheirGroups() {
    auto window = Open();
    window->tabStrip()->selectTab(2);
    window->foldersPanel()->chkMultiClear(3)->click();
    for (int i = 0; i < FoldersPanel::kFolders; ++i)
      QCOMPARE(fakes->settings.values["GroupCleaning" + std::to_string(i)], std::string(i == 3 ? "1" : "0"));
    Child<QRadioButton>(window.get(), "optAuto_1")->click();
    Child<QCheckBox>(window.get(), "chkAttributi")->click();
    QCOMPARE(fakes->settings.values["GroupAttributi"], std::string("1"));
  }

  void guideIsWrittenOpenedAndRemovedAtClose() {
    const QString path = QString::fromStdString(InfoPanel::GuidePath());
    {
      auto window = Open();
      window->tabStrip()->selectTab(3);
      Child<QPushButton>(window.get(), "cmdStampa")->click();
      QVERIFY(QFile::exists(path));
      QFile written(path);
      QVERIFY(written.open(QIODevice::ReadOnly));
      const QByteArray bytes = written.readAll();
      QVERIFY(bytes.contains("<title>Guida Sorrelwick</title>"));
      QVERIFY(bytes.size() > 5000);
      QCOMPARE(fakes->launcher.requests, QStringList{QStringLiteral("file:") + path});
      Child<QPushButton>(window.get(), "cmdStampa")->click();  // a second use rewrites and reopens
      QCOMPARE(fakes->launcher.requests.size(), 2);
      QVERIFY(fakes->messages.shown.empty());
      window->close();
    }
    QVERIFY(!QFile::exists(path));
  }

  void guideNeverFollowsALinkPlantedAtItsPath() {
    const QString path = QString::fromStdString(InfoPanel::GuidePath());
    const QString victim = QDir::tempPath() + QStringLiteral("/victim.txt");
    {
      QFile file(victim);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("precious");
    }
    QVERIFY(QFile::link(victim, path));
    {
      auto window = Open();
      Child<QPushButton>(window.get(), "cmdStampa")->click();
      QCOMPARE(fakes->messages.shown.size(), size_t(1));
      QCOMPARE(fakes->messages.shown[0].text, QStringLiteral("Impossibile visualizzare la guida."));
      QCOMPARE(fakes->messages.shown[0].style, 16);
      QVERIFY(fakes->launcher.requests.isEmpty());
      window->close();
    }
    QVERIFY(QFileInfo(path).isSymLink());  // the planted link is not ours to remove
    QFile file(victim);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("precious"));
    QFile::remove(path);
    QFile::remove(victim);
  }

  void closingWithoutTheGuideRemovesNothing() {
    const QString path = QString::fromStdString(InfoPanel::GuidePath());
    QVERIFY(WriteOwnFile(path.toStdString(), "someone's page") == 0);
    {
      auto window = Open();
      window->close();
    }
    QVERIFY(QFile::exists(path));
    QFile::remove(path);
  }

  void links_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("request");
    QTest::addColumn<bool>("closes");
    QTest::newRow("mail") << "lblEmail" << "address:mailto:sorrelwick@example.org?Subject=Sorrelwick - Versione 2.1.0"
                          << false;
    QTest::newRow("home page") << "lblHomePage" << "address:https://example.org/sorrelwick/" << true;
    QTest::newRow("logo") << "imgLogo" << "address:https://example.org/" << true;
  }
  void links() {
    QFETCH(QString, control);
    QFETCH(QString, request);
    QFETCH(bool, closes);
    auto window = Open();
    window->show();
    window->tabStrip()->selectTab(3);
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTest::mouseClick(window->findChild<QLabel*>(control), Qt::LeftButton);
    QCOMPARE(fakes->launcher.requests, QStringList{request});
    QTest::qWait(20);
    QCOMPARE(window->isVisible(), !closes);
    if (closes) QCOMPARE(fakes->settings.values["ActiveTab"], std::string("3"));
  }

  void secondInstanceIsRefusedWithAMessage() {
    SingleInstance first;
    QVERIFY(first.TryLock());
    SingleInstance second;
    sw::test::ScriptedMessages messages;
    QVERIFY(!CheckSingleInstance(second, messages));
    QCOMPARE(messages.shown.size(), size_t(1));
    QCOMPARE(messages.shown[0].text, QStringLiteral("Sorrelwick è già in esecuzione"));
    QCOMPARE(messages.shown[0].style, 64);
  }

  void controlsCarryTheirNames() {
    auto window = Open();
    for (const char* name : {"picTabContainer", "lblCursorTab", "picTab_0", "picTab_1", "picTab_2", "cmdCerca",
                             "cmdClear", "LstPercorsoCompleto", "picStop", "Drive1", "Label2_2", "optAuto_0",
                             "optAuto_1", "picOptions", "lblConsolle_0", "lblConsolle_1", "lblConsolle_2",
                             "txtFolderStart", "lstEstensione", "chkAttributi", "optClear_0", "optClear_1",
                             "cmdTotalCancel", "Label3", "Label5", "cmdWindowsUtility_3", "cmdSpecialFolder_0",
                             "cmdCancelFolder_5", "lblSpecialFolder_6", "lbltitolo", "lblVersione", "lblDescrizione",
                             "lbl", "Label9", "Label4", "lblEmail", "Label1", "lblHomePage", "imgLogo", "lblWarning",
                             "Label8", "chkConferma", "cmdStampa"})
      QVERIFY2(window->findChild<QWidget*>(QString::fromLatin1(name)), name);
    // Controls without visible text still have a spoken name.
    for (QWidget* widget : window->findChildren<QWidget*>()) {
      auto* button = qobject_cast<QAbstractButton*>(widget);
      if (button && button->text().isEmpty())
        QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
    }
  }
};

SW_TEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
