// The real desktop services that tests can exercise without a desktop: the
// settings file, message boxes (answered by the test), the volume list and
// the single-instance lock.
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "core/files.h"
#include "helpers/fakes.h"
#include "platform/desktop_services.h"

using namespace sw;

class PlatformTest : public QObject {
  Q_OBJECT

 private slots:
  void settingsMissingEmptyAndStored() {
    const QString file = QDir::tempPath() + QStringLiteral("/settings.conf");
    IniSettings settings(file);
    QCOMPARE(settings.Read("PersonalFolder", "default"), std::string("default"));  // missing
    settings.Save("PersonalFolder", "");
    settings.Save("MemoryFolder", "/home/ann/a b=c;*.tmp,old;*.è");
    QVERIFY(QFileInfo(file).size() > 0);                                  // written at once, not at exit
    QCOMPARE(settings.Read("PersonalFolder", "default"), std::string());  // empty is not missing
    QCOMPARE(settings.Read("MemoryFolder", ""), std::string("/home/ann/a b=c;*.tmp,old;*.è"));
  }

  void damagedSettingsFileGivesDefaults_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("unreadable");
    QTest::addColumn<QString>("patterns");
    QTest::newRow("garbage") << QByteArray("\x01\x02[[[=\n\xff\xfe=\n") << false << "*.tmp";
    QTest::newRow("hand-edited list") << QByteArray("[CustomOptions]\nFilesExtension=a, b\n") << false << "a, b";
    QTest::newRow("unreadable") << QByteArray("[CustomOptions]\nFilesExtension=*.log\n") << true << "*.tmp";
  }
  void damagedSettingsFileGivesDefaults() {
    QFETCH(QByteArray, content);
    QFETCH(bool, unreadable);
    QFETCH(QString, patterns);
    const QString file = QDir::tempPath() + QLatin1Char('/') + QTest::currentDataTag();
    QCOMPARE(WriteOwnFile(file.toStdString(), content.toStdString()), 0);
    if (unreadable) QFile::setPermissions(file, {});
    if (unreadable && QFileInfo(file).isReadable()) QSKIP("this user reads files whatever their permissions");
    IniSettings settings(file);
    QCOMPARE(settings.Read("FilesExtension", "*.tmp"), patterns.toStdString());
  }

  void messageBoxes_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("shown");  // the icon, then the buttons in the box's order (by role)
    QTest::addColumn<int>("escape");
    QTest::newRow("16") << 16 << QStringList{"Critical", "OK"} << int(kOk);
    QTest::newRow("20") << 20 << QStringList{"Critical", "Sì", "No"} << int(kNo);
    QTest::newRow("35") << 35 << QStringList{"Question", "Annulla", "Sì", "No"} << int(kCancel);
    QTest::newRow("48") << 48 << QStringList{"Warning", "OK"} << int(kOk);
    QTest::newRow("64") << 64 << QStringList{"Information", "OK"} << int(kOk);
  }
  void messageBoxes() {
    QFETCH(int, style);
    QFETCH(QStringList, shown);
    QFETCH(int, escape);
    const QMap<QString, int> answer = {{"OK", kOk}, {"Sì", kYes}, {"No", kNo}, {"Annulla", kCancel}, {"Esc", escape}};
    for (const QString& press : shown.mid(1) + QStringList{"Esc"}) {
      QStringList seen;  // title, text, icon and button captions of the box, which `press` then answers
      QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        seen << box->windowTitle() << box->text() << QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon());
        for (QAbstractButton* button : box->buttons()) seen << button->text();
        for (QAbstractButton* button : box->buttons())
          if (button->text() == press) button->click();
        if (press == QStringLiteral("Esc")) QTest::keyClick(box, Qt::Key_Escape);
      });
      QCOMPARE(QtMessageBoxes(nullptr).Show(QStringLiteral("riga uno\r\n\r\nriga tre"), style), answer.value(press));
      QCOMPARE(seen, QStringList({"Sorrelwick", "riga uno\n\nriga tre"}) + shown);
    }
  }

  void volumeListHasTheRootAndNoPseudoFileSystems() {
    MountedVolumes volumes;
    QStringList mounts;
    for (const Volume& volume : volumes.List()) mounts << QString::fromStdString(volume.mountPoint);
    QCOMPARE(mounts.value(0), QStringLiteral("/"));
    QCOMPARE(mounts.removeDuplicates(), 0);
    for (const char* pseudo : {"/proc", "/sys", "/dev", "/run"}) QVERIFY(!mounts.contains(pseudo));
    QVERIFY(volumes.IsAvailable("/"));
    QVERIFY(!volumes.IsAvailable("/definitely/not/here"));
    QVERIFY(volumes.ClusterSize("/") >= 512);
    QCOMPARE(volumes.ClusterSize("/definitely/not/here"), std::uint64_t(0));
  }

  void singleInstanceTakesOverACrashedRunsLock() {
    // A lock left by a process that no longer exists must not block a start.
    qputenv("USER", "ann");
    const std::string lock = qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString() + "/sorrelwick-ann.lock";
    QCOMPARE(WriteOwnFile(lock, "999999999\nsorrelwick\n" + QSysInfo::machineHostName().toStdString() + "\n"), 0);
    SingleInstance instance;
    QVERIFY(instance.TryLock());
  }
};

SW_TEST_MAIN(PlatformTest)
#include "test_platform.moc"
