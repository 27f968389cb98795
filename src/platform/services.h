// The desktop services the window needs, each behind a small interface so the
// tests can answer message boxes, record launches and stage volumes without
// opening anything. All of them are used on the UI thread only; the window
// borrows them (the owner outlives the window).
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace sw {

// Per-user settings: application "Sorrelwick", group "CustomOptions". Values
// are texts. A missing key reads as the caller's default, an existing empty
// value as "". Every Save reaches the store at once.
class Settings {
 public:
  virtual ~Settings() = default;
  virtual std::string Read(std::string_view key, std::string_view defaultValue) = 0;
  virtual void Save(std::string_view key, std::string_view value) = 0;
};

// Answers of a message box.
enum Answer { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };

// Modal message boxes titled "Sorrelwick". `style` is the sum of a button set
// (0 OK, 3 Yes/No/Cancel, 4 Yes/No) and an icon (16 critical, 32 question,
// 48 exclamation, 64 information); the result is one of Answer.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual int Show(const QString& text, int style) = 0;
};

// Starts things for the user and never waits for them. Failures are the
// desktop's to report; the program examines no result.
class Launcher {
 public:
  virtual ~Launcher() = default;
  virtual void OpenFolder(const std::string& path) = 0;  // in the file manager
  virtual void OpenFile(const std::string& path) = 0;    // with its default program
  virtual void OpenAddress(const QString& url) = 0;      // web page or mailto:
  virtual void StartProgram(const QString& program, const QStringList& arguments) = 0;
};

// A mounted volume the user can clean.
struct Volume {
  std::string mountPoint;  // bytes, without a final "/" except for the root
  QString name;            // label, else the device's name
  std::string device;      // e.g. "/dev/sda1", informative
};

class Volumes {
 public:
  virtual ~Volumes() = default;
  // The root file system, the one holding the home folder, and other local
  // writable file systems; pseudo and read-only ones are left out, each
  // device appears once.
  virtual std::vector<Volume> List() = 0;
  // False when the volume cannot be read right now (unplugged, unreadable).
  virtual bool IsAvailable(const std::string& mountPoint) = 0;
  // Allocation unit of the file system holding `path`; 0 when unknown.
  virtual std::uint64_t ClusterSize(const std::string& path) = 0;
  // Mount point of the volume holding `path` (the program's own, the home).
  virtual std::string VolumeOf(const std::string& path) = 0;
};

// Lets the user choose one folder; "" when cancelled.
class FolderPicker {
 public:
  virtual ~FolderPicker() = default;
  virtual std::string Browse(QWidget* owner, const std::string& initialFolder, const QString& prompt) = 0;
};

// The services of one running program.
struct Services {
  Settings* settings = nullptr;
  MessageBoxes* messages = nullptr;
  Launcher* launcher = nullptr;
  Volumes* volumes = nullptr;
  FolderPicker* picker = nullptr;
};

// The temporary folder ($TMPDIR, else /tmp) with a final "/".
std::string GetTempDir();

// Text <-> path bytes for display and for Qt APIs that take file names.
QString DisplayPath(std::string_view path);
std::string PathBytes(const QString& path);

}  // namespace sw
