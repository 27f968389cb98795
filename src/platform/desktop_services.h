// The real desktop behind the service interfaces. UI thread only.
#pragma once

#include <QLockFile>
#include <QSettings>
#include <QString>
#include <memory>

#include "platform/services.h"

namespace sw {

// QSettings in INI form at $XDG_CONFIG_HOME/Sorrelwick/Sorrelwick.conf. A
// missing, unreadable or corrupt file reads as all defaults.
class IniSettings final : public Settings {
 public:
  IniSettings();
  explicit IniSettings(const QString& fileName);  // for tests
  std::string Read(std::string_view key, std::string_view defaultValue) override;
  void Save(std::string_view key, std::string_view value) override;
  QString fileName() const { return settings_.fileName(); }

 private:
  QSettings settings_;
};

class QtMessageBoxes final : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  int Show(const QString& text, int style) override;

 private:
  QWidget* parent_;
};

class DesktopLauncher final : public Launcher {
 public:
  void OpenFolder(const std::string& path) override;
  void OpenFile(const std::string& path) override;
  void OpenAddress(const QString& url) override;
  void StartProgram(const QString& program, const QStringList& arguments) override;
};

// Reads /proc/self/mountinfo.
class MountedVolumes final : public Volumes {
 public:
  std::vector<Volume> List() override;
  bool IsAvailable(const std::string& mountPoint) override;
  std::uint64_t ClusterSize(const std::string& path) override;
  std::string VolumeOf(const std::string& path) override;
};

class DialogFolderPicker final : public FolderPicker {
 public:
  std::string Browse(QWidget* owner, const std::string& initialFolder, const QString& prompt) override;
};

// One running copy per user: a lock file in $XDG_RUNTIME_DIR (else the
// temporary folder). A lock left by a crashed run is taken over.
class SingleInstance {
 public:
  SingleInstance();
  bool TryLock();

 private:
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace sw
