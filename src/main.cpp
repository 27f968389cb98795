#include <QApplication>

#include "platform/desktop_services.h"
#include "ui/application.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  sw::InitApplication(app);

  sw::QtMessageBoxes messages(nullptr);
  sw::SingleInstance instance;
  if (!sw::CheckSingleInstance(instance, messages)) return 0;

  sw::IniSettings settings;
  sw::DesktopLauncher launcher;
  sw::MountedVolumes volumes;
  sw::DialogFolderPicker picker;
  const sw::Services services{&settings, &messages, &launcher, &volumes, &picker};

  sw::MainWindow window(services);
  messages.setParent(&window);
  window.show();
  return app.exec();
}
