#include "helpers/fakes.h"

#include <QDir>
#include <QLocale>

#include <cstdlib>

#include "ui/application.h"

namespace sw::test {

std::string FakeSettings::Read(std::string_view key, std::string_view defaultValue) {
  const auto found = values.find(std::string(key));
  return found == values.end() ? std::string(defaultValue) : found->second;
}

void FakeSettings::Save(std::string_view key, std::string_view value) {
  values[std::string(key)] = std::string(value);
  writes.emplace_back(std::string(key), std::string(value));
}

int ScriptedMessages::Show(const QString& text, int style) {
  shown.push_back({text, style});
  if (!answers.empty()) {
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  switch (style & 7) {
    case 3: return kCancel;
    case 4: return kNo;
    default: return kOk;
  }
}

bool FakeVolumes::IsAvailable(const std::string& mountPoint) {
  ++availabilityChecks;
  const auto found = available.find(mountPoint);
  return found == available.end() || found->second;
}

std::uint64_t FakeVolumes::ClusterSize(const std::string& path) {
  const std::string volume = VolumeOf(path);
  const auto found = clusters.find(volume);
  return found == clusters.end() ? 4096 : found->second;
}

std::string FakeVolumes::VolumeOf(const std::string& path) {
  std::string best;
  for (const Volume& v : volumes) {
    const std::string& m = v.mountPoint;
    const bool contains = path == m || (path.starts_with(m) && (m.back() == '/' || path[m.size()] == '/'));
    if (contains && m.size() > best.size()) best = m;
  }
  return best.empty() ? programVolume : best;
}

QString IsolateEnvironment() {
  const QByteArray base = qgetenv("TMPDIR").isEmpty() ? QByteArray("/tmp") : qgetenv("TMPDIR");
  QByteArray templ = base + "/sorrelwick-ui-XXXXXX";
  const char* root = ::mkdtemp(templ.data());
  if (!root) std::abort();
  const QString rootPath = QString::fromLocal8Bit(root);
  for (const char* sub : {"home", "config", "data", "cache", "runtime", "tmp"}) QDir().mkpath(rootPath + "/" + sub);
  QFile::setPermissions(rootPath + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  qputenv("HOME", (rootPath + "/home").toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", (rootPath + "/config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (rootPath + "/data").toLocal8Bit());
  qputenv("XDG_CACHE_HOME", (rootPath + "/cache").toLocal8Bit());
  qputenv("XDG_RUNTIME_DIR", (rootPath + "/runtime").toLocal8Bit());
  qputenv("TMPDIR", (rootPath + "/tmp").toLocal8Bit());
  return rootPath;
}

void InitTestApplication(QApplication& app) {
  InitApplication(app);
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

}  // namespace sw::test
