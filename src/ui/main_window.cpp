#include "ui/main_window.h"

#include <QCloseEvent>
#include <QPainter>

#include "core/options.h"
#include "ui/application.h"
#include "ui/drawing.h"
#include "ui/files_panel.h"
#include "ui/folders_panel.h"
#include "ui/info_panel.h"
#include "ui/tab_strip.h"

namespace sw {

namespace {

constexpr QRect kTabContainer(10, 10, 620, 450);
constexpr QSize kWindowSize(640, 496);

}  // namespace

MainWindow::MainWindow(const Services& services, QWidget* parent) : QWidget(parent), services_(services) {
  setObjectName(QStringLiteral("frmSorrelwick"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFixedSize(kWindowSize);

  picTabContainer_ = new TabStrip(this);
  picTabContainer_->setGeometry(kTabContainer);
  files_ = new FilesPanel(services_, objStatusBar_);
  folders_ = new FoldersPanel(services_);
  info_ = new InfoPanel(services_);
  picTabContainer_->setPanels({files_, folders_, info_});

  files_->setTabLock([this](bool enabled) { picTabContainer_->setTabSwitchingEnabled(enabled); });
  connect(picTabContainer_, &TabStrip::tabSelected, this, &MainWindow::OnTabSelected);
  connect(info_, &InfoPanel::closeRequested, this, &QWidget::close, Qt::QueuedConnection);

  SetControlsPointer(this);
  Form_Load();
}

MainWindow::~MainWindow() { Form_Unload(); }

int MainWindow::activeTab() const { return picTabContainer_->activeTab(); }

void MainWindow::InitStatusBar() {
  objStatusBar_.Create(this);
  objStatusBar_.SetParts(3, {60, 230, -1});
}

void MainWindow::Form_Load() {
  InitStatusBar();
  setWindowTitle(QStringLiteral("Sorrelwick"));
  Settings& settings = *services_.settings;
  const bool confirmation = options::ToBool(settings.Read(options::kMessageConfirmation, "True"));
  const int activeTab = options::ToActiveTab(settings.Read(options::kActiveTab, "1"));
  files_->InitLocation();
  files_->ShowStartFolder();
  files_->MarkActiveLocation(true);
  picTabContainer_->selectTab(activeTab);
  folders_->RestoreGroupCleaning();
  files_->RestoreGroupAttributi();
  files_->SetCleaningMode(true);
  info_->ShowInfo(confirmation);
}

void MainWindow::OnTabSelected(int tab) {
  switch (tab) {
    case 2:
      files_->ClearResults();
      folders_->setActive(true);
      objStatusBar_.SetText(1, QStringLiteral("Cartelle speciali di sistema"));
      objStatusBar_.SetText(2, QStringLiteral("Tools di sistema"));
      break;
    case 3:
      folders_->setActive(false);
      objStatusBar_.SetText(1, QString());
      objStatusBar_.SetText(2, QStringLiteral("Informazioni su Sorrelwick"));
      break;
    default:
      folders_->setActive(false);
      objStatusBar_.SetText(1, QString());
      objStatusBar_.SetText(2, QString());
      break;
  }
}

void MainWindow::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  files_->StopSearch();
  folders_->setActive(false);
  services_.settings->Save(options::kActiveTab, std::to_string(activeTab()));
  info_->RemoveGuide();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void MainWindow::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter painter(this);
  DrawShadow(painter, picTabContainer_->geometry(), palette().color(QPalette::Window));
}

}  // namespace sw
