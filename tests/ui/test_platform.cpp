// The real desktop services that tests can exercise without a desktop: the
// settings file, message boxes (answered by the test), the volume list and
// the single-instance lock.
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <set>

#include "helpers/fakes.h"
#include "platform/desktop_services.h"

using namespace sw;

class PlatformTest : public QObject {
  Q_OBJECT

  QString SettingsFile(const QString& name) const { return QDir::tempPath() + QLatin1Char('/') + name; }

  // Runs `action` on the message box as soon as it is open.
  static void WhenBoxOpens(std::function<void(QMessageBox*)> action) {
    QTimer::singleShot(0, [action] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) qFatal("no message box open");
      action(box);
    });
  }

private slots:
  void settingsMissingEmptyAndStored() {
    const QString file = SettingsFile("settings.conf");
    QFile::remove(file);
    {
      IniSettings settings(file);
      QCOMPARE(settings.Read("FilesExtension", "*.tmp;*.gid;*.old"), std::string("*.tmp;*.gid;*.old"));
      settings.Save("PersonalFolder", "");
      settings.Save("FilesExtension", "*.tmp,old;*.è");
      settings.Save("MemoryFolder", "/home/ann/a b=c");
    }
    QVERIFY(QFile::exists(file));  // written at once, not at exit
    IniSettings reread(file);
    QCOMPARE(reread.Read("PersonalFolder", "default"), std::string());  // empty is not missing
    QCOMPARE(reread.Read("FilesExtension", ""), std::string("*.tmp,old;*.è"));
    QCOMPARE(reread.Read("MemoryFolder", ""), std::string("/home/ann/a b=c"));
    QFile raw(file);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QVERIFY(raw.readAll().contains("[CustomOptions]"));
  }

  void damagedSettingsFileGivesDefaults_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("unreadable");
    QTest::newRow("garbage") << QByteArray("\x01\x02[[[=\n\xff\xfe=\n") << false;
    QTest::newRow("hand-edited list") << QByteArray("[CustomOptions]\nFilesExtension=a, b\n") << false;
    QTest::newRow("unreadable") << QByteArray("[CustomOptions]\nActiveTab=2\n") << true;
  }
  void damagedSettingsFileGivesDefaults() {
    QFETCH(QByteArray, content);
    QFETCH(bool, unreadable);
    if (unreadable && ::geteuid() == 0) QSKIP("root reads files whatever their permissions");
    const QString file = SettingsFile("damaged.conf");
    {
      QFile out(file);
      QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
      out.write(content);
    }
    if (unreadable) QFile::setPermissions(file, {});
    IniSettings settings(file);
    QCOMPARE(settings.Read("ActiveTab", "1"), std::string("1"));
    const std::string patterns = settings.Read("FilesExtension", "*.tmp");
    QVERIFY(patterns == "*.tmp" || patterns == "a, b");
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::remove(file);
  }

  void messageBoxButtons_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("escape");
    QTest::newRow("16") << 16 << QStringList{"OK"} << int(QMessageBox::Critical) << int(kOk);
    QTest::newRow("20") << 20 << QStringList{"Sì", "No"} << int(QMessageBox::Critical) << int(kNo);
    QTest::newRow("35") << 35 << QStringList{"Sì", "No", "Annulla"} << int(QMessageBox::Question) << int(kCancel);
    QTest::newRow("36") << 36 << QStringList{"Sì", "No"} << int(QMessageBox::Question) << int(kNo);
    QTest::newRow("48") << 48 << QStringList{"OK"} << int(QMessageBox::Warning) << int(kOk);
    QTest::newRow("64") << 64 << QStringList{"OK"} << int(QMessageBox::Information) << int(kOk);
    QTest::newRow("67") << 67 << QStringList{"Sì", "No", "Annulla"} << int(QMessageBox::Information) << int(kCancel);
  }
  void messageBoxButtons() {
    QFETCH(int, style);
    QFETCH(QStringList, buttons);
    QFETCH(int, icon);
    QFETCH(int, escape);
    QtMessageBoxes messages(nullptr);
    const std::map<QString, int> answers = {{"OK", kOk}, {"Sì", kYes}, {"No", kNo}, {"Annulla", kCancel}};
    for (const QString& caption : buttons) {
      QStringList seen;
      WhenBoxOpens([&](QMessageBox* box) {
        QCOMPARE(box->windowTitle(), QStringLiteral("Sorrelwick"));
        QCOMPARE(int(box->icon()), icon);
        QCOMPARE(box->text(), QStringLiteral("riga uno\n\nriga tre"));
        for (QAbstractButton* button : box->buttons()) seen << button->text();
        for (QAbstractButton* button : box->buttons())
          if (button->text() == caption) button->click();
      });
      QCOMPARE(messages.Show(QStringLiteral("riga uno\r\n\r\nriga tre"), style), answers.at(caption));
      seen.sort();
      QStringList expected = buttons;
      expected.sort();
      QCOMPARE(seen, expected);
    }
    WhenBoxOpens([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    QCOMPARE(messages.Show(QStringLiteral("Esc"), style), escape);
  }

  void volumeListHasTheRootAndNoPseudoFileSystems() {
    MountedVolumes volumes;
    const std::vector<Volume> list = volumes.List();
    QVERIFY(!list.empty());
    QCOMPARE(list.front().mountPoint, std::string("/"));
    std::set<std::string> seen;
    for (const Volume& v : list) {
      QVERIFY2(seen.insert(v.mountPoint).second, v.mountPoint.c_str());
      for (const char* pseudo : {"/proc", "/sys", "/dev", "/run"}) QVERIFY(v.mountPoint != pseudo);
    }
    QVERIFY(volumes.IsAvailable("/"));
    QVERIFY(!volumes.IsAvailable("/definitely/not/here"));
    QVERIFY(volumes.ClusterSize("/") >= 512);
    QCOMPARE(volumes.ClusterSize("/definitely/not/here"), std::uint64_t(0));
    QVERIFY(!volumes.VolumeOf(QDir::homePath().toStdString()).empty());
  }

  void singleInstanceTakesOverACrashedRunsLock() {
    // A lock left by a process that no longer exists must not block a start.
    const QString lockPath = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR")) + QStringLiteral("/sorrelwick-") +
                             (qEnvironmentVariableIsEmpty("USER") ? QString::number(::getuid())
                                                                  : QString::fromLocal8Bit(qgetenv("USER"))) +
                             QStringLiteral(".lock");
    {
      QFile stale(lockPath);
      QVERIFY(stale.open(QIODevice::WriteOnly | QIODevice::Truncate));
      stale.write("999999999\nsorrelwick\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    }
    SingleInstance instance;
    QVERIFY(instance.TryLock());
    SingleInstance second;
    QVERIFY(!second.TryLock());
  }
};

SW_TEST_MAIN(PlatformTest)
#include "test_platform.moc"
