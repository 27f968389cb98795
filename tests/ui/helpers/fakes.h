// Test doubles for the desktop services, and the isolated start-up every UI
// test binary shares: HOME, TMPDIR and the XDG folders point into a private
// temporary folder before the application object exists.
#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTest>

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/services.h"

namespace sw::test {

class FakeSettings final : public Settings {
public:
  std::string Read(std::string_view key, std::string_view defaultValue) override;
  void Save(std::string_view key, std::string_view value) override;

  std::map<std::string, std::string> values;
  std::vector<std::pair<std::string, std::string>> writes;  // in order
};

// Answers message boxes from a script; unscripted boxes get the answer that
// Escape would give. Every box is recorded.
class ScriptedMessages final : public MessageBoxes {
public:
  int Show(const QString& text, int style) override;

  std::deque<int> answers;
  struct Shown {
    QString text;
    int style;
  };
  std::vector<Shown> shown;
};

class RecordingLauncher final : public Launcher {
public:
  void OpenFolder(const std::string& path) override { requests << QStringLiteral("folder:") + DisplayPath(path); }
  void OpenFile(const std::string& path) override { requests << QStringLiteral("file:") + DisplayPath(path); }
  void OpenAddress(const QString& url) override { requests << QStringLiteral("address:") + url; }
  void StartProgram(const QString& program, const QStringList& arguments) override {
    requests << QStringLiteral("program:") + program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
  }
  QStringList requests;
};

// Volumes staged in temporary folders.
class FakeVolumes final : public Volumes {
public:
  std::vector<Volume> List() override { return volumes; }
  bool IsAvailable(const std::string& mountPoint) override;
  std::uint64_t ClusterSize(const std::string& path) override;
  std::string VolumeOf(const std::string& path) override;

  std::vector<Volume> volumes;
  std::map<std::string, bool> available;            // default true
  std::map<std::string, std::uint64_t> clusters;    // by mount point, default 4096
  std::string programVolume;                        // VolumeOf for paths on no volume
  int availabilityChecks = 0;
};

class FakePicker final : public FolderPicker {
public:
  std::string Browse(QWidget*, const std::string& initialFolder, const QString& prompt) override {
    calls.push_back({initialFolder, prompt});
    return answer;
  }
  std::string answer;
  std::vector<std::pair<std::string, QString>> calls;
};

// All five doubles, wired as Services.
struct FakeServices {
  FakeSettings settings;
  ScriptedMessages messages;
  RecordingLauncher launcher;
  FakeVolumes volumes;
  FakePicker picker;
  Services services() { return {&settings, &messages, &launcher, &volumes, &picker}; }
};

// Points HOME, TMPDIR and XDG_* at a fresh temporary folder; returns it.
QString IsolateEnvironment();

}  // namespace sw::test

// Like QTEST_MAIN, with the isolated environment and the program's own
// application set-up (resources, font, translations).
#define SW_TEST_MAIN(TestObject)                   \
  int main(int argc, char** argv) {                \
    sw::test::IsolateEnvironment();                \
    QApplication app(argc, argv);                  \
    sw::test::InitTestApplication(app);            \
    TestObject tc;                                 \
    QTEST_SET_MAIN_SOURCE_PATH                     \
    return QTest::qExec(&tc, argc, argv);          \
  }

namespace sw::test {
void InitTestApplication(QApplication& app);
}
