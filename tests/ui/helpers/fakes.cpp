#include "helpers/fakes.h"

#include <QDir>
#include <cstdlib>

namespace sw::test {

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
  using Pair = std::pair<const char*, const char*>;  // variable, folder
  for (const auto& [variable, sub] :
       {Pair{"HOME", "home"}, Pair{"XDG_CONFIG_HOME", "config"}, Pair{"XDG_DATA_HOME", "data"},
        Pair{"XDG_CACHE_HOME", "cache"}, Pair{"XDG_RUNTIME_DIR", "runtime"}, Pair{"TMPDIR", "tmp"}}) {
    QDir().mkpath(rootPath + QLatin1Char('/') + sub);
    qputenv(variable, (rootPath + QLatin1Char('/') + sub).toLocal8Bit());
  }
  QFile::setPermissions(rootPath + "/runtime",
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  return rootPath;
}

}  // namespace sw::test
