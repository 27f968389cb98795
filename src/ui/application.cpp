#include "ui/application.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/desktop_services.h"

static void InitResources() { Q_INIT_RESOURCE(resources); }

namespace sw {

void InitApplication(QApplication& app) {
  InitResources();
  QApplication::setOrganizationName(QStringLiteral("Sorrelwick"));
  QApplication::setApplicationName(QStringLiteral("Sorrelwick"));
  QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                          .arg(SORRELWICK_VERSION_MAJOR)
                                          .arg(SORRELWICK_VERSION_MINOR)
                                          .arg(SORRELWICK_VERSION_PATCH));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/sorrelwick.png")));
  QApplication::setDesktopFileName(QStringLiteral("sorrelwick"));
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPointSizeF(8.25);
  QApplication::setFont(font);
  auto* translator = new QTranslator(&app);
  if (translator->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(translator);
}

void SetControlsPointer(QWidget* window) {
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) button->setCursor(Qt::PointingHandCursor);
}

bool CheckSingleInstance(SingleInstance& instance, MessageBoxes& messages) {
  if (instance.TryLock()) return true;
  messages.Show(QStringLiteral("Sorrelwick") + QStringLiteral(" è già in esecuzione"), 64);
  return false;
}

}  // namespace sw
