// Test doubles for the desktop services, and the isolated start-up every UI
// test binary shares: HOME, TMPDIR and the XDG folders point into a private
// temporary folder before the application object exists.
#pragma once

#include <QApplication>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTest>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/services.h"
#include "ui/application.h"

namespace sw::test {

class FakeSettings final : public Settings {
 public:
  std::string Read(std::string_view key, std::string_view defaultValue) override {
    return values.contains(key) ? values.at(std::string(key)) : std::string(defaultValue);
  }
  void Save(std::string_view key, std::string_view value) override {
    values[std::string(key)] = value;
    writes.emplace_back(key, value);
  }
  std::map<std::string, std::string, std::less<>> values;
  std::vector<std::pair<std::string, std::string>> writes;  // in order
};

// Answers message boxes from a script; unscripted boxes get the answer that
// Escape would give. Every box is recorded as its style, a blank and its text.
class ScriptedMessages final : public MessageBoxes {
 public:
  int Show(const QString& text, int style) override {
    shown << QString::number(style) + QLatin1Char(' ') + text;
    if (answers.empty()) return (style & 7) == 3 ? kCancel : (style & 7) == 4 ? kNo : kOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<int> answers;
  QStringList shown;
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
  bool IsAvailable(const std::string& mountPoint) override { return !unavailable.contains(mountPoint); }
  std::uint64_t ClusterSize(const std::string& path) override {
    return clusters.contains(VolumeOf(path)) ? clusters.at(VolumeOf(path)) : 4096;
  }
  std::string VolumeOf(const std::string& path) override;

  std::vector<Volume> volumes;
  std::set<std::string> unavailable;              // mount points
  std::map<std::string, std::uint64_t> clusters;  // by mount point, default 4096
  std::string programVolume;                      // VolumeOf for paths on no volume
};

// Records each call as the initial folder, a blank and the prompt.
class FakePicker final : public FolderPicker {
 public:
  std::string Browse(QWidget*, const std::string& initialFolder, const QString& prompt) override {
    calls << DisplayPath(initialFolder) + QLatin1Char(' ') + prompt;
    return answer;
  }
  std::string answer;
  QStringList calls;
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
// application set-up (resources, font, translations) in Italian.
#define SW_TEST_MAIN(TestObject)                                    \
  int main(int argc, char** argv) {                                 \
    sw::test::IsolateEnvironment();                                 \
    QApplication app(argc, argv);                                   \
    sw::InitApplication(app);                                       \
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); \
    TestObject tc;                                                  \
    QTEST_SET_MAIN_SOURCE_PATH                                      \
    return QTest::qExec(&tc, argc, argv);                           \
  }
