// The Files tab end to end on staged volumes: the pattern list and its
// dialog, the search with its busy state, stop and summary, and the search
// location (volume list, unavailable volumes, folder picker, remembered folder).
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

#include <memory>

#include "helpers/fakes.h"
#include "shared/temp_tree.h"
#include "ui/extension_list.h"
#include "ui/files_panel.h"
#include "ui/input_dialog.h"
#include "ui/main_window.h"
#include "ui/results_model.h"
#include "ui/tab_strip.h"

using namespace sw;
using sw::test::FakeServices;
using sw::test::TempTree;

class FilesPanelTest : public QObject {
  Q_OBJECT

  std::unique_ptr<FakeServices> fakes;
  std::unique_ptr<TempTree> volumeA;
  std::unique_ptr<TempTree> volumeB;
  std::unique_ptr<MainWindow> window;

  FilesPanel* files() const { return window->filesPanel(); }
  ExtensionList* list() const { return files()->extensionList(); }
  template <typename T>
  T* Child(const char* name) const {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no control %s", name);
    return child;
  }
  QString Status(int part) const { return window->statusBar().GetText(part); }
  void Open() {
    window = std::make_unique<MainWindow>(fakes->services());
    window->show();
  }
  void Custom() { Child<QRadioButton>("optAuto_1")->click(); }
  void WaitForSearch() { QTRY_VERIFY_WITH_TIMEOUT(!files()->searching(), 20000); }
  QStringList ListTexts() const {
    QStringList texts;
    for (int i = 0; i < list()->count(); ++i) texts << list()->item(i)->text();
    return texts;
  }
  QStringList Found() const {
    QStringList paths;
    for (const ResultEntry& entry : files()->results()->entries()) paths << QString::fromStdString(entry.path);
    return paths;
  }

private slots:
  void init() {
    fakes = std::make_unique<FakeServices>();
    volumeA = std::make_unique<TempTree>();
    volumeB = std::make_unique<TempTree>();
    fakes->volumes.volumes = {{volumeA->root(), QStringLiteral("Primo"), "/dev/a"},
                              {volumeB->root(), QStringLiteral("Secondo"), "/dev/b"}};
    fakes->volumes.programVolume = volumeA->root();
  }
  void cleanup() {
    window.reset();
    volumeA.reset();
    volumeB.reset();
  }

  // ---- pattern list -----------------------------------------------------------

  void storedListText_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("leading separator") << ";*.tmp;*.log" << QStringList{"*.tmp", "*.log"};
    QTest::newRow("trailing separator") << "*.tmp;*.log;" << QStringList{"*.tmp", "*.log"};
    QTest::newRow("empty segment") << "*.tmp;;*.log" << QStringList{"*.tmp", "", "*.log"};
    QTest::newRow("stored empty stays empty") << "" << QStringList{};
  }
  void storedListText() {
    QFETCH(QString, stored);
    QFETCH(QStringList, entries);
    fakes->settings.values["FilesExtension"] = stored.toStdString();
    Open();
    QCOMPARE(ListTexts(), (QStringList{"*.tmp", "*.gid", "*.old"}));  // automatic cleaning: built-in list
    QVERIFY(!list()->isEnabled());
    Custom();
    QCOMPARE(ListTexts(), entries);
    for (int i = 0; i < list()->count(); ++i) QCOMPARE(list()->item(i)->checkState(), Qt::Checked);
    QVERIFY(list()->isEnabled());
  }

  void addExtensionDialog() {
    Open();
    Custom();
    InputDialog dialog(*list(), window.get());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* box = dialog.findChild<QLineEdit*>("txtEstensione");
    auto* save = dialog.findChild<QPushButton*>("cmdSave");
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Form1"));
    QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    QTest::keyClicks(box, ".BAK");
    save->click();
    QCOMPARE(fakes->settings.values["FilesExtension"], std::string("*.tmp;*.gid;*.old;*.bak"));
    QCOMPARE(ListTexts().last(), QStringLiteral("*.bak"));
    QVERIFY(box->text().isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), box);
    for (const char* refused : {"tmp", "...", "", "a;b"}) {
      QTest::keyClicks(box, refused);
      save->click();
    }
    QCOMPARE(fakes->settings.values["FilesExtension"], std::string("*.tmp;*.gid;*.old;*.bak"));
    QTest::keyClicks(box, "tmp,old");
    save->click();
    QCOMPARE(ListTexts().last(), QStringLiteral("*.tmp,old"));
    QVERIFY(fakes->messages.shown.empty());
    dialog.findChild<QPushButton*>("cmdChiudi")->click();
    QVERIFY(!dialog.isVisible());
  }

  void deleteEntry_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("yes from the menu") << int(kYes) << false << QStringList{"*.tmp", "*.old"};
    QTest::newRow("yes from the Delete key") << int(kYes) << true << QStringList{"*.tmp", "*.old"};
    QTest::newRow("no") << int(kNo) << false << QStringList{"*.tmp", "*.gid", "*.old"};
    QTest::newRow("cancel") << int(kCancel) << true << QStringList{"*.tmp", "*.gid", "*.old"};
  }
  void deleteEntry() {
    QFETCH(int, answer);
    QFETCH(bool, byKey);
    QFETCH(QStringList, after);
    Open();
    Custom();
    list()->setCurrentRow(1);
    fakes->messages.answers = {answer};
    if (byKey) {
      list()->setFocus();
      QTest::keyClick(list(), Qt::Key_Delete);
    } else {
      list()->listPop_Click(2);
    }
    QCOMPARE(fakes->messages.shown.size(), size_t(1));
    QCOMPARE(fakes->messages.shown[0].text, QStringLiteral("Confermi l'eliminazione dell'estensione ( .gid ) selezionata?"));
    QCOMPARE(fakes->messages.shown[0].style, 35);
    QCOMPARE(ListTexts(), after);
    if (answer == kYes)
      QCOMPARE(fakes->settings.values["FilesExtension"], std::string("*.tmp;*.old"));
    else
      QVERIFY(fakes->settings.writes.empty());
  }

  void deletingWithoutHighlightAsksNothing() {
    Open();
    Custom();
    list()->setCurrentRow(-1);
    list()->listPop_Click(2);
    QVERIFY(fakes->messages.shown.empty());
  }

  void untickAllAndRestore() {
    fakes->settings.values["FilesExtension"] = "*.log";
    Open();
    Custom();
    list()->listPop_Click(4);
    QVERIFY(!list()->IsExtensionSelected());
    QVERIFY(fakes->settings.writes.empty());
    list()->listPop_Click(6);
    QCOMPARE(fakes->settings.values["FilesExtension"], std::string("*.tmp;*.gid;*.old"));
    QCOMPARE(ListTexts(), (QStringList{"*.tmp", "*.gid", "*.old"}));
    QVERIFY(list()->IsExtensionSelected());
  }

  void droppedFilesAddTheirExtensions() {
    Open();
    Custom();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/x/readme.txt"), QUrl::fromLocalFile("/x/Makefile"),
                  QUrl::fromLocalFile("/x/.bashrc"), QUrl::fromLocalFile("/x/old.TMP"),
                  QUrl(QStringLiteral("https://example.org/page.html"))});
    // A drop reaches the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list()->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list()->viewport(), &drop);
    QCOMPARE(ListTexts(), (QStringList{"*.tmp", "*.gid", "*.old", "*.txt"}));
  }

  // ---- search -------------------------------------------------------------------

  void customSearchNeedsATickedPattern() {
    Open();
    Custom();
    list()->listPop_Click(4);
    Child<QPushButton>("cmdCerca")->click();
    QCOMPARE(fakes->messages.shown.size(), size_t(1));
    QCOMPARE(fakes->messages.shown[0].text,
             QStringLiteral("Per effettuare la ricerca occorre specificare o selezionare almeno una estensione."));
    QCOMPARE(fakes->messages.shown[0].style, 16);
    QVERIFY(!files()->searching());
    QCOMPARE(files()->results()->rowCount(), 0);
    for (int part = 0; part < 3; ++part) QVERIFY(Status(part).isEmpty());
  }

  void searchSummary_data() {
    QTest::addColumn<int>("cluster");
    QTest::addColumn<QString>("part2");
    QTest::newRow("4096-byte clusters") << 4096 << " Spazio su disco: 20 KB";
    QTest::newRow("cluster size unknown") << 1 << "";
  }
  void searchSummary() {
    QFETCH(int, cluster);
    QFETCH(QString, part2);
    volumeA->file("sub/a.tmp", 100);
    volumeA->file("sub/deeper/B.GID", 5000);
    volumeA->file("c.old", 8192);
    volumeA->file("c.old.bak", 10);
    volumeA->file("x.tmpl", 10);
    volumeA->file(".hidden.tmp", 10);
    fakes->volumes.clusters[volumeA->root()] = static_cast<std::uint64_t>(cluster);
    Open();
    Child<QPushButton>("cmdCerca")->click();
    WaitForSearch();
    QCOMPARE(Found(), (QStringList{QString::fromStdString(volumeA->path("c.old")),
                                   QString::fromStdString(volumeA->path("sub/a.tmp")),
                                   QString::fromStdString(volumeA->path("sub/deeper/B.GID"))}));
    QCOMPARE(Status(0), QStringLiteral(" File: 3"));
    QCOMPARE(Status(1), QStringLiteral(" Dimensione totale file: 13 KB"));
    if (cluster > 1)
      QCOMPARE(Status(2), part2);
    else
      QCOMPARE(Status(2), QStringLiteral(" ") + QString::fromStdString(volumeA->path("sub")));  // last folder finished
    QCOMPARE(Child<QPushButton>("cmdCerca")->text(), QStringLiteral("&Cerca"));
    QCOMPARE(Child<QPushButton>("cmdCerca")->toolTip(), QStringLiteral("Avvia la ricerca dei file"));
    QVERIFY(Child<QPushButton>("cmdClear")->isEnabled());
    for (const ResultEntry& entry : files()->results()->entries()) QVERIFY(entry.ticked);
  }

  void searchThatFindsNothing() {
    volumeA->file("keep.txt", 10);
    Open();
    Child<QPushButton>("cmdCerca")->click();
    WaitForSearch();
    QCOMPARE(Status(0), QStringLiteral(" File: 0"));
    QCOMPARE(Status(1), QStringLiteral(" Dimensione totale file: 0 KB"));
    QCOMPARE(Status(2), QStringLiteral(" Spazio su disco: 0 KB"));
    QVERIFY(!Child<QPushButton>("cmdClear")->isEnabled());
  }

  void largeTotalsUseItalianGrouping() {
    volumeA->sparseFile("big.tmp", 3ull << 30);  // 3 GiB: beyond any 32-bit total
    Open();
    Child<QPushButton>("cmdCerca")->click();
    WaitForSearch();
    QCOMPARE(Status(1), QStringLiteral(" Dimensione totale file: 3.145.728 KB"));
    QCOMPARE(Status(2), QStringLiteral(" Spazio su disco: 3.145.728 KB"));
  }

  void attributeSwitches_data() {
    QTest::addColumn<bool>("custom");
    QTest::addColumn<bool>("attributes");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("automatic: read-only yes, hidden no") << false << false << QStringList{"ro.tmp", "w.tmp"};
    QTest::newRow("custom without attributes") << true << false << QStringList{"w.tmp"};
    QTest::newRow("custom with attributes") << true << true << QStringList{".h.tmp", "ro.tmp", "w.tmp"};
  }
  void attributeSwitches() {
    QFETCH(bool, custom);
    QFETCH(bool, attributes);
    QFETCH(QStringList, found);
    volumeA->file("w.tmp", 1);
    volumeA->file("ro.tmp", 1, 0444);
    volumeA->file(".h.tmp", 1);
    fakes->settings.values["MemoryFolder"] = volumeA->root();
    fakes->settings.values["GroupAttributi"] = attributes ? "1" : "0";
    Open();
    if (custom) Custom();
    Child<QPushButton>("cmdCerca")->click();
    WaitForSearch();
    QStringList names;
    for (const QString& path : Found()) names << path.section('/', -1);
    QCOMPARE(names, found);
  }

  void busyStateAndStop() {
    for (int i = 0; i < 300; ++i) volumeA->file("d" + std::to_string(i) + "/e/f/x.tmp", 1);
    fakes->settings.values["MemoryFolder"] = volumeA->root();
    Open();
    Custom();
    auto* search = Child<QPushButton>("cmdCerca");
    search->click();
    // Until the event loop runs, the search is certainly still in progress.
    QVERIFY(files()->searching());
    QCOMPARE(search->text(), QStringLiteral("&Interrompi ricerca"));
    QCOMPARE(search->toolTip(), QStringLiteral("Interrompe la ricerca dei files"));
    QCOMPARE(Status(1), QStringLiteral(" Ricerca in corso..."));
    for (const char* name : {"cmdClear", "optAuto_0", "optAuto_1", "optClear_0", "optClear_1", "txtFolderStart",
                             "lstEstensione", "chkAttributi", "lblCursorTab"})
      QVERIFY2(!Child<QWidget>(name)->isEnabled(), name);
    QVERIFY(!window->tabStrip()->tabSwitchingEnabled());
    QVERIFY(Child<QLabel>("picStop")->isVisible());
    QVERIFY(search->isEnabled());
    search->click();  // the same button stops
    WaitForSearch();
    QCOMPARE(search->text(), QStringLiteral("&Cerca"));
    QVERIFY(Status(0).startsWith(QStringLiteral(" File: ")));
    QVERIFY(!Child<QLabel>("picStop")->isVisible());
    for (const char* name : {"optAuto_0", "optAuto_1", "optClear_0", "optClear_1", "txtFolderStart", "lstEstensione",
                             "chkAttributi", "lblCursorTab"})
      QVERIFY2(Child<QWidget>(name)->isEnabled(), name);
    QVERIFY(!Child<QComboBox>("Drive1")->isEnabled());  // belongs to automatic cleaning
    // After a stop the next click searches again, from scratch.
    search->click();
    WaitForSearch();
    QCOMPARE(files()->results()->rowCount(), 300);
    QCOMPARE(Status(0), QStringLiteral(" File: 300"));
  }

  void closingDuringASearchStopsIt() {
    for (int i = 0; i < 200; ++i) volumeA->file("d" + std::to_string(i) + "/x.tmp", 1);
    Open();
    Child<QPushButton>("cmdCerca")->click();
    QVERIFY(files()->searching());
    window->close();
    window.reset();  // joins the worker; must neither hang nor crash
  }

  // ---- search location ------------------------------------------------------------

  void changingTheVolume() {
    volumeA->file("a.tmp", 1);
    fakes->volumes.clusters[volumeB->root()] = 8192;
    Open();
    QCOMPARE(files()->startFolder(), volumeA->root());
    Child<QPushButton>("cmdCerca")->click();
    WaitForSearch();
    QCOMPARE(files()->results()->rowCount(), 1);
    Child<QComboBox>("Drive1")->setCurrentIndex(1);
    QCOMPARE(files()->startFolder(), volumeB->root());
    QCOMPARE(files()->clusterSize(), std::uint64_t(8192));
    QCOMPARE(files()->results()->rowCount(), 0);
    QVERIFY(Status(0).isEmpty());
    QVERIFY(!Child<QPushButton>("cmdClear")->isEnabled());
    QVERIFY(Child<QComboBox>("Drive1")->currentText().contains(QStringLiteral("Secondo")));
  }

  void unavailableVolume_data() {
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("questions");
    QTest::newRow("no falls back to the program's volume") << QList<int>{kNo} << 1;
    QTest::newRow("yes retries, then no") << QList<int>{kYes, kYes, kNo} << 3;
  }
  void unavailableVolume() {
    QFETCH(QList<int>, answers);
    QFETCH(int, questions);
    Open();
    fakes->volumes.available[volumeB->root()] = false;
    fakes->messages.answers.assign(answers.begin(), answers.end());
    Child<QComboBox>("Drive1")->setCurrentIndex(1);
    QCOMPARE(int(fakes->messages.shown.size()), questions);
    QCOMPARE(fakes->messages.shown[0].text, QStringLiteral("Periferica non disponibile!\r\nRiprovare?"));
    QCOMPARE(fakes->messages.shown[0].style, 20);
    QCOMPARE(Child<QComboBox>("Drive1")->currentIndex(), 0);
    QCOMPARE(files()->startFolder(), volumeA->root());
  }

  void volumeBackAfterRetry() {
    // The medium comes back while the question is open: Yes then finds it.
    struct Reinsert : sw::MessageBoxes {
      FakeServices* fakes = nullptr;
      std::string root;
      int Show(const QString& text, int style) override {
        fakes->volumes.available[root] = true;
        return fakes->messages.Show(text, style);
      }
    } reinsert;
    reinsert.fakes = fakes.get();
    reinsert.root = volumeB->root();
    Services services = fakes->services();
    services.messages = &reinsert;
    window = std::make_unique<MainWindow>(services);
    fakes->volumes.available[volumeB->root()] = false;
    fakes->messages.answers = {kYes};
    Child<QComboBox>("Drive1")->setCurrentIndex(1);
    QCOMPARE(files()->startFolder(), volumeB->root());
    QCOMPARE(fakes->messages.shown.size(), size_t(1));
    window.reset();
  }

  void pickingAStartFolder() {
    volumeB->dir("work/here");
    Open();
    Custom();
    Child<QPushButton>("cmdCerca")->click();
    WaitForSearch();
    const std::uint64_t cluster = files()->clusterSize();
    fakes->picker.answer = volumeB->path("work/here");
    QTest::mouseClick(Child<QLineEdit>("txtFolderStart"), Qt::LeftButton);
    QCOMPARE(fakes->picker.calls.size(), size_t(1));
    QCOMPARE(fakes->picker.calls[0].first, volumeA->root());
    QCOMPARE(fakes->picker.calls[0].second, QStringLiteral("Seleziona la cartella dove iniziare la ricerca"));
    QCOMPARE(files()->startFolder(), volumeB->path("work/here"));
    QCOMPARE(fakes->settings.values["MemoryFolder"], volumeB->path("work/here"));
    QCOMPARE(Child<QComboBox>("Drive1")->currentIndex(), 1);
    QCOMPARE(files()->clusterSize(), cluster);     // not recomputed
    QCOMPARE(Status(0), QStringLiteral(" File: 0"));  // results not cleared
    QVERIFY(Child<QLineEdit>("txtFolderStart")->text().endsWith(QStringLiteral("here")));

    fakes->picker.answer.clear();  // cancelled
    QTest::mouseClick(Child<QLineEdit>("txtFolderStart"), Qt::LeftButton);
    QCOMPARE(files()->startFolder(), volumeB->path("work/here"));
    QCOMPARE(fakes->settings.writes.size(), size_t(1));
  }

  void customModeRestoresTheRememberedFolder_data() {
    QTest::addColumn<bool>("exists");
    QTest::newRow("existing folder") << true;
    QTest::newRow("vanished folder") << false;
  }
  void customModeRestoresTheRememberedFolder() {
    QFETCH(bool, exists);
    if (exists) volumeB->dir("kept");
    fakes->settings.values["MemoryFolder"] = volumeB->path("kept");
    Open();
    QCOMPARE(files()->startFolder(), volumeA->root());
    Custom();
    QCOMPARE(files()->startFolder(), exists ? volumeB->path("kept") : volumeA->root());
    QCOMPARE(Child<QComboBox>("Drive1")->currentIndex(), exists ? 1 : 0);
    // Back to automatic cleaning: the selected volume's root, the trash, an empty box.
    Child<QRadioButton>("optClear_1")->click();
    QCOMPARE(Child<QPushButton>("cmdClear")->text(), QStringLiteral("Elimina definitivamente i file selezionati"));
    Child<QRadioButton>("optAuto_0")->click();
    QCOMPARE(files()->startFolder(), exists ? volumeB->root() : volumeA->root());
    QVERIFY(Child<QRadioButton>("optClear_0")->isChecked());
    QCOMPARE(Child<QPushButton>("cmdClear")->text(), QStringLiteral("Invia al cestino i file selezionati"));
    QVERIFY(Child<QLineEdit>("txtFolderStart")->text().isEmpty());
    // Custom again with "Elimina" no longer selected keeps the trash caption.
    Custom();
    QCOMPARE(Child<QPushButton>("cmdClear")->text(), QStringLiteral("Invia al cestino i file selezionati"));
  }
};

SW_TEST_MAIN(FilesPanelTest)
#include "test_files_panel.moc"
