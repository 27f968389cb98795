#include "platform/desktop_services.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "core/options.h"

namespace sw {

QString DisplayPath(std::string_view path) {
  return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

std::string PathBytes(const QString& path) { return path.toUtf8().toStdString(); }

std::string GetTempDir() { return PathBytes(QDir::tempPath()) + '/'; }

// ---- settings -------------------------------------------------------------

IniSettings::IniSettings()
    : settings_(QSettings::IniFormat, QSettings::UserScope, QString::fromUtf8(options::kApplication),
                QString::fromUtf8(options::kApplication)) {}

IniSettings::IniSettings(const QString& fileName) : settings_(fileName, QSettings::IniFormat) {}

namespace {

QString SettingsKey(std::string_view key) {
  return QString::fromUtf8(options::kSection) + QLatin1Char('/') +
         QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

}  // namespace

std::string IniSettings::Read(std::string_view key, std::string_view defaultValue) {
  const QString name = SettingsKey(key);
  if (!settings_.contains(name)) return std::string(defaultValue);
  const QVariant value = settings_.value(name);
  // A hand-edited value with unquoted commas comes back as a list.
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QStringLiteral(", ")).toStdString();
  return value.toString().toUtf8().toStdString();
}

void IniSettings::Save(std::string_view key, std::string_view value) {
  settings_.setValue(SettingsKey(key), QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
  settings_.sync();
}

// ---- message boxes --------------------------------------------------------

int QtMessageBoxes::Show(const QString& text, int style) {
  QMessageBox box(parent_);
  box.setWindowTitle(QStringLiteral("Sorrelwick"));
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box.setText(shown);
  // The icon is the style's 16s digit: 1 critical, 2 question, 3 exclamation, 4 information.
  static const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Critical, QMessageBox::Question,
                                            QMessageBox::Warning, QMessageBox::Information};
  const int icon = (style & 0x70) >> 4;
  box.setIcon(icon < 5 ? icons[icon] : QMessageBox::NoIcon);
  std::map<QAbstractButton*, int> answers;
  auto add = [&](const QString& caption, QMessageBox::ButtonRole role, int answer) {
    QPushButton* button = box.addButton(caption, role);
    answers[button] = answer;
    return button;
  };
  switch (style & 0x7) {
    case 3: {
      add(QStringLiteral("Sì"), QMessageBox::YesRole, kYes);
      add(QStringLiteral("No"), QMessageBox::NoRole, kNo);
      box.setEscapeButton(add(QStringLiteral("Annulla"), QMessageBox::RejectRole, kCancel));
      break;
    }
    case 4: {
      add(QStringLiteral("Sì"), QMessageBox::YesRole, kYes);
      box.setEscapeButton(add(QStringLiteral("No"), QMessageBox::NoRole, kNo));
      break;
    }
    default:
      box.setEscapeButton(add(QStringLiteral("OK"), QMessageBox::AcceptRole, kOk));
      break;
  }
  box.exec();
  const auto found = answers.find(box.clickedButton());
  if (found != answers.end()) return found->second;
  return (style & 0x7) == 3 ? kCancel : (style & 0x7) == 4 ? kNo : kOk;
}

// ---- launcher --------------------------------------------------------------

void DesktopLauncher::OpenFolder(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(DisplayPath(path)));
}

void DesktopLauncher::OpenFile(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(DisplayPath(path)));
}

void DesktopLauncher::OpenAddress(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

void DesktopLauncher::StartProgram(const QString& program, const QStringList& arguments) {
  QProcess::startDetached(program, arguments);
}

// ---- volumes ----------------------------------------------------------------

namespace {

struct MountEntry {
  std::string device;  // major:minor
  std::string mountPoint;
  std::string type;
  std::string source;
  bool readOnly = false;
};

// mountinfo escapes blanks, tabs, newlines and backslashes as \ooo.
std::string Unescape(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string octal = field.substr(i + 1, 3);
      if (octal.size() == 3 && std::all_of(octal.begin(), octal.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        out.push_back(static_cast<char>(std::stoi(octal, nullptr, 8)));
        i += 3;
        continue;
      }
    }
    out.push_back(field[i]);
  }
  return out;
}

std::vector<MountEntry> ReadMounts() {
  std::vector<MountEntry> mounts;
  std::ifstream in("/proc/self/mountinfo");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string id, parent, device, root, mountPoint, options;
    fields >> id >> parent >> device >> root >> mountPoint >> options;
    std::string field;
    while (fields >> field && field != "-") {
    }
    MountEntry entry;
    fields >> entry.type >> entry.source;
    entry.device = device;
    entry.mountPoint = Unescape(mountPoint);
    entry.source = Unescape(entry.source);
    std::istringstream opts(options);
    std::string opt;
    while (std::getline(opts, opt, ','))
      if (opt == "ro") entry.readOnly = true;
    mounts.push_back(std::move(entry));
  }
  return mounts;
}

bool IsPseudo(const std::string& type) {
  static const std::set<std::string> pseudo = {"proc",        "sysfs",    "devtmpfs",   "devpts",    "cgroup",
                                               "cgroup2",     "squashfs", "tmpfs",      "ramfs",     "securityfs",
                                               "debugfs",     "tracefs",  "pstore",     "bpf",       "configfs",
                                               "fusectl",     "mqueue",   "hugetlbfs",  "autofs",    "binfmt_misc",
                                               "efivarfs",    "nsfs",     "rpc_pipefs", "overlay",   "fuse.gvfsd-fuse",
                                               "fuse.portal", "iso9660",  "udf",        "selinuxfs", "nfsd"};
  return pseudo.count(type) != 0;
}

// `path` with links and ".." resolved as far as it exists; itself when that fails.
std::string RealPath(const std::string& path) {
  std::error_code ec;
  std::string real = std::filesystem::weakly_canonical(path, ec).string();
  return ec || real.empty() ? path : real;
}

// Whether the file system mounted at `mountPoint` holds the resolved `path`.
bool Holds(const std::string& mountPoint, const std::string& real) {
  return mountPoint == "/" || real == mountPoint || (real.starts_with(mountPoint) && real[mountPoint.size()] == '/');
}

// The longest mount point that holds `path`.
const MountEntry* MountOf(const std::vector<MountEntry>& mounts, const std::string& path) {
  const std::string real = RealPath(path);
  const MountEntry* best = nullptr;
  for (const MountEntry& m : mounts)
    if (Holds(m.mountPoint, real) && (!best || m.mountPoint.size() >= best->mountPoint.size())) best = &m;
  return best;
}

QString VolumeName(const MountEntry& m) {
  // A label, when the device has one, reads better than its node name.
  std::error_code ec;
  const std::filesystem::path byLabel("/dev/disk/by-label");
  for (const auto& link : std::filesystem::directory_iterator(byLabel, ec)) {
    std::error_code ec2;
    const auto target = std::filesystem::canonical(link.path(), ec2);
    if (!ec2 && target.string() == m.source) return QString::fromUtf8(Unescape(link.path().filename().string()));
  }
  if (m.source.starts_with("/dev/")) return DisplayPath(std::filesystem::path(m.source).filename().string());
  return DisplayPath(m.type);
}

}  // namespace

std::vector<Volume> MountedVolumes::List() {
  const std::vector<MountEntry> mounts = ReadMounts();
  std::vector<const MountEntry*> chosen;
  std::set<std::string> devices;
  auto take = [&](const MountEntry* m) {
    if (m && devices.insert(m->device).second) chosen.push_back(m);
  };
  take(MountOf(mounts, "/"));
  take(MountOf(mounts, QDir::homePath().toStdString()));
  for (const MountEntry& m : mounts)
    if (!IsPseudo(m.type) && !m.readOnly && m.source.starts_with("/")) take(&m);
  std::vector<Volume> volumes;
  for (const MountEntry* m : chosen) volumes.push_back({m->mountPoint, VolumeName(*m), m->source});
  return volumes;
}

bool MountedVolumes::IsAvailable(const std::string& mountPoint) {
  struct stat st {};
  return ::stat(mountPoint.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(mountPoint.c_str(), R_OK | X_OK) == 0;
}

std::uint64_t MountedVolumes::ClusterSize(const std::string& path) {
  struct statvfs vfs {};
  if (::statvfs(path.c_str(), &vfs) != 0) return 0;
  return vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
}

std::string MountedVolumes::VolumeOf(const std::string& path) {
  const std::string real = RealPath(path);
  std::string best = "/";
  for (const Volume& v : List())
    if (Holds(v.mountPoint, real) && v.mountPoint.size() >= best.size()) best = v.mountPoint;
  return best;
}

// ---- folder picker -----------------------------------------------------------

std::string DialogFolderPicker::Browse(QWidget* owner, const std::string& initialFolder, const QString& prompt) {
  const QString chosen =
      QFileDialog::getExistingDirectory(owner, prompt, DisplayPath(initialFolder), QFileDialog::ShowDirsOnly);
  return chosen.isEmpty() ? std::string() : PathBytes(chosen);
}

// ---- single instance ---------------------------------------------------------

SingleInstance::SingleInstance() {
  QString folder = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::tempPath();
  QString user = QString::fromLocal8Bit(qgetenv("USER"));
  if (user.isEmpty()) user = QString::number(::getuid());
  lock_ = std::make_unique<QLockFile>(folder + QStringLiteral("/sorrelwick-") + user + QStringLiteral(".lock"));
  // A live run refreshes nothing, so only a dead owner's lock may be stolen:
  // QLockFile checks the recorded process and takes over a crashed run's lock.
  lock_->setStaleLockTime(0);
}

bool SingleInstance::TryLock() { return lock_->tryLock(0); }

}  // namespace sw
