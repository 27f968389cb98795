// The Files tab end to end on staged volumes: the pattern list and its
// dialog, the search with its busy state, stop and summary, and the search
// location (volume list, unavailable volumes, folder picker, remembered folder).
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
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

using namespace sw;

class FilesPanelTest : public QObject {
  Q_OBJECT

  std::unique_ptr<sw::test::FakeServices> fakes;
  std::unique_ptr<sw::test::TempTree> volumeA;
  std::unique_ptr<sw::test::TempTree> volumeB;
  std::unique_ptr<MainWindow> window;

  FilesPanel* files() const { return window->filesPanel(); }
  ExtensionList* list() const { return files()->extensionList(); }
  template <typename T = QWidget>
  T* Child(const char* name) const {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no control %s", name);
    return child;
  }
  QStringList Status() const {  // the three parts of the status bar
    return {window->statusBar().GetText(0), window->statusBar().GetText(1), window->statusBar().GetText(2)};
  }
  enum Mode { kAutomatic, kCustom };
  void Open(Mode mode = kAutomatic) {
    window = std::make_unique<MainWindow>(fakes->services());
    window->show();
    if (mode == kCustom) Custom();
  }
  void Custom() { Child<QRadioButton>("optAuto_1")->click(); }
  // A click on the search button, which starts a search or stops the running one, and its end.
  void Search() {
    Child<QPushButton>("cmdCerca")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!files()->searching(), 20000);
  }
  QStringList ListTexts() const {
    QStringList texts;
    for (int i = 0; i < list()->count(); ++i) texts << list()->item(i)->text();
    return texts;
  }
  QStringList Found() const {  // relative to volume A
    QStringList paths;
    for (const ResultEntry& entry : files()->results()->entries())
      paths << QString::fromStdString(entry.path.substr(volumeA->root().size() + 1));
    return paths;
  }

 private slots:
  void init() {
    fakes = std::make_unique<sw::test::FakeServices>();
    volumeA = std::make_unique<sw::test::TempTree>();
    volumeB = std::make_unique<sw::test::TempTree>();
    fakes->volumes.volumes = {{volumeA->root(), {}, {}}, {volumeB->root(), {}, {}}};
    fakes->volumes.programVolume = volumeA->root();
  }
  void cleanup() { window.reset(); }

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
    Custom();
    QCOMPARE(ListTexts(), entries);
  }

  void addingExtensions() {
    Open(kCustom);
    InputDialog dialog(*list(), window.get());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* box = dialog.findChild<QLineEdit*>("txtEstensione");
    for (const char* typed : {".BAK", "tmp", "...", "", "a;b", "tmp,old"}) {  // all refused but the first and last
      QTest::keyClicks(box, typed);
      dialog.findChild<QPushButton*>("cmdSave")->click();
    }
    QVERIFY(box->text().isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), box);
    // Files dropped from the file manager add their extensions too.
    QMimeData data;
    data.setUrls({QUrl("file:///x/readme.txt"), QUrl("file:///x/Makefile"), QUrl("file:///x/.bashrc"),
                  QUrl("file:///x/old.TMP"), QUrl("https://example.org/page.html")});
    // A drop reaches the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list()->viewport(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list()->viewport(), &drop);
    QCOMPARE(ListTexts(), (QStringList{"*.tmp", "*.gid", "*.old", "*.bak", "*.tmp,old", "*.txt"}));
    QVERIFY(fakes->messages.shown.isEmpty());
  }

  void deleteEntry_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(kYes);
    QTest::newRow("no") << int(kNo);
    QTest::newRow("cancel") << int(kCancel);
  }
  void deleteEntry() {
    QFETCH(int, answer);
    Open(kCustom);
    fakes->messages.answers = {answer, answer};
    list()->setCurrentRow(1);
    list()->listPop_Click(2);  // the menu's delete command
    list()->setCurrentRow(0);
    QTest::keyClick(list(), Qt::Key_Delete);
    QCOMPARE(fakes->messages.shown, (QStringList{"35 Confermi l'eliminazione dell'estensione ( .gid ) selezionata?",
                                                 "35 Confermi l'eliminazione dell'estensione ( .tmp ) selezionata?"}));
    QCOMPARE(ListTexts(), (answer == kYes ? QStringList{"*.old"} : QStringList{"*.tmp", "*.gid", "*.old"}));
    QCOMPARE(fakes->settings.Read("FilesExtension", "not stored"), answer == kYes ? "*.old" : "not stored");
  }

  void untickAllSearchAndRestore() {
    fakes->settings.values["FilesExtension"] = "*.log";
    Open(kCustom);
    window->statusBar().SetText(0, QStringLiteral(" File: 3"));
    list()->listPop_Click(4);  // untick all: stores nothing
    QVERIFY(fakes->settings.writes.empty());
    Child<QPushButton>("cmdCerca")->click();  // searches nothing, clears the results
    QCOMPARE(fakes->messages.shown,
             QStringList{"16 Per effettuare la ricerca occorre specificare o selezionare almeno una estensione."});
    QCOMPARE(Status(), QStringList(3, QString()));
    list()->listPop_Click(6);  // restore the built-in list
    QCOMPARE(fakes->settings.values["FilesExtension"], std::string("*.tmp;*.gid;*.old"));
    QCOMPARE(ListTexts(), (QStringList{"*.tmp", "*.gid", "*.old"}));
  }

  // ---- search -------------------------------------------------------------------

  void searchSummary_data() {
    QTest::addColumn<int>("cluster");
    QTest::addColumn<QList<qint64>>("sizes");  // of the three files found
    QTest::addColumn<QStringList>("totals");   // of the sizes and the disk space ("": the last folder searched)
    QTest::newRow("4096-byte clusters") << 4096 << QList<qint64>{100, 5000, 8192} << QStringList{"13 KB", "20 KB"};
    QTest::newRow("cluster size unknown") << 1 << QList<qint64>{100, 5000, 8192} << QStringList{"13 KB", ""};
    QTest::newRow("3 GiB: beyond any 32-bit total")
        << 4096 << QList<qint64>{4096, 4096, (3ll << 30) - 8192} << QStringList{"3.145.728 KB", "3.145.728 KB"};
  }
  void searchSummary() {
    QFETCH(int, cluster);
    QFETCH(QList<qint64>, sizes);
    QFETCH(QStringList, totals);
    const QStringList found = {"c.old", "sub/a.tmp", "sub/deeper/B.GID"};
    for (int i = 0; i < 3; ++i) volumeA->sparseFile(found[i].toStdString(), static_cast<std::uint64_t>(sizes[i]));
    for (const char* other : {"c.old.bak", "x.tmpl", ".hidden.tmp"}) volumeA->file(other, 10);
    fakes->volumes.clusters[volumeA->root()] = static_cast<std::uint64_t>(cluster);
    Open();
    Search();
    QCOMPARE(Found(), found);
    const QString part2 = totals[1].isEmpty() ? QStringLiteral(" ") + QString::fromStdString(volumeA->path("sub"))
                                              : QStringLiteral(" Spazio su disco: ") + totals[1];
    QCOMPARE(Status(), (QStringList{" File: 3", " Dimensione totale file: " + totals[0], part2}));
    QVERIFY(Child<QPushButton>("cmdClear")->isEnabled());
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
    for (const char* name : {"w.tmp", ".h.tmp"}) volumeA->file(name, 1);
    volumeA->file("ro.tmp", 1, 0444);
    fakes->settings.values["GroupAttributi"] = attributes ? "1" : "0";
    Open(custom ? kCustom : kAutomatic);
    Search();
    QCOMPARE(Found(), found);
  }

  void busyStateStopAndClose() {
    for (int i = 0; i < 300; ++i) volumeA->file("d" + std::to_string(i) + "/e/f/x.tmp", 1);
    Open(kCustom);
    auto* search = Child<QPushButton>("cmdCerca");
    search->click();  // still running until the event loop runs
    QCOMPARE(search->text(), QStringLiteral("&Interrompi ricerca"));
    QCOMPARE(Status()[1], QStringLiteral(" Ricerca in corso..."));
    for (const char* name : {"cmdClear", "optAuto_0", "optAuto_1", "optClear_0", "optClear_1", "txtFolderStart",
                             "lstEstensione", "chkAttributi", "lblCursorTab"})
      QVERIFY2(!Child(name)->isEnabled(), name);
    QVERIFY(Child("picStop")->isVisible());
    Search();  // the same button stops
    QCOMPARE(search->text(), QStringLiteral("&Cerca"));
    QVERIFY(Child("lstEstensione")->isEnabled() && Child("lblCursorTab")->isEnabled());
    // After a stop the next click searches again, from scratch.
    Search();
    QCOMPARE(Status()[0], QStringLiteral(" File: 300"));
    search->click();
    window->close();
    window.reset();  // closing during a search joins the worker; must neither hang nor crash
  }

  // ---- search location ------------------------------------------------------------

  void choosingAVolume_data() {
    QTest::addColumn<QList<int>>("answers");  // to "device not available", asked while volume B is missing
    QTest::newRow("available") << QList<int>{};
    QTest::newRow("unavailable: no falls back to the program's volume") << QList<int>{kNo};
    QTest::newRow("unavailable: yes retries, then no") << QList<int>{kYes, kYes, kNo};
  }
  void choosingAVolume() {
    QFETCH(QList<int>, answers);
    const bool available = answers.isEmpty();
    fakes->volumes.clusters[volumeB->root()] = 8192;
    Open();
    window->statusBar().SetText(0, QStringLiteral(" File: 3"));
    if (!available) fakes->volumes.unavailable.insert(volumeB->root());
    fakes->messages.answers.assign(answers.begin(), answers.end());
    Child<QComboBox>("Drive1")->setCurrentIndex(1);
    QCOMPARE(fakes->messages.shown,
             QStringList(answers.size(), QStringLiteral("20 Periferica non disponibile!\r\nRiprovare?")));
    QCOMPARE(Child<QComboBox>("Drive1")->currentIndex(), available ? 1 : 0);
    QCOMPARE(files()->startFolder(), available ? volumeB->root() : volumeA->root());
    QCOMPARE(files()->clusterSize(), std::uint64_t(available ? 8192 : 4096));
    QCOMPARE(Status()[0], QString());  // results cleared
  }

  void startFolderOfCustomCleaning() {
    volumeB->dir("work/here");
    fakes->volumes.clusters[volumeB->root()] = 8192;
    Open(kCustom);
    Search();
    fakes->picker.answer = volumeB->path("work/here");
    QTest::mouseClick(Child<QLineEdit>("txtFolderStart"), Qt::LeftButton);
    QCOMPARE(fakes->picker.calls,
             QStringList{QString::fromStdString(volumeA->root()) + " Seleziona la cartella dove iniziare la ricerca"});
    QCOMPARE(files()->startFolder(), volumeB->path("work/here"));
    QCOMPARE(fakes->settings.values["MemoryFolder"], volumeB->path("work/here"));
    QCOMPARE(files()->clusterSize(), std::uint64_t(4096));  // not recomputed
    QCOMPARE(Status()[0], QStringLiteral(" File: 0"));      // results not cleared
    fakes->picker.answer.clear();                           // cancelled
    QTest::mouseClick(Child<QLineEdit>("txtFolderStart"), Qt::LeftButton);
    QCOMPARE(files()->startFolder(), volumeB->path("work/here"));
    QCOMPARE(fakes->settings.writes.size(), size_t(1));
    // Automatic cleaning: the selected volume's root and the trash.
    Child<QRadioButton>("optClear_1")->click();
    QCOMPARE(Child<QPushButton>("cmdClear")->text(), QStringLiteral("Elimina definitivamente i file selezionati"));
    Child<QRadioButton>("optAuto_0")->click();
    QCOMPARE(files()->startFolder(), volumeB->root());
    QCOMPARE(Child<QPushButton>("cmdClear")->text(), QStringLiteral("Invia al cestino i file selezionati"));
    Custom();  // restores the remembered folder
    QCOMPARE(files()->startFolder(), volumeB->path("work/here"));
  }
};

SW_TEST_MAIN(FilesPanelTest)
#include "test_files_panel.moc"
