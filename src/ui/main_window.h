// frmSorrelwick: the one main window. It owns the status bar, the drawn tab
// strip and the three panels, runs the load sequence when built and the unload
// sequence when closed, and wires the panels to the services it borrows.
// UI thread only.
#pragma once

#include <QWidget>

#include "platform/services.h"
#include "ui/status_bar.h"

namespace sw {

class FilesPanel;
class FoldersPanel;
class InfoPanel;
class TabStrip;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(const Services& services, QWidget* parent = nullptr);
  ~MainWindow() override;

  StatusBar& statusBar() { return objStatusBar_; }
  TabStrip* tabStrip() const { return picTabContainer_; }
  FilesPanel* filesPanel() const { return files_; }
  FoldersPanel* foldersPanel() const { return folders_; }
  InfoPanel* infoPanel() const { return info_; }
  int activeTab() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void Form_Load();
  void Form_Unload();
  void InitStatusBar();
  void OnTabSelected(int tab);

  Services services_;
  StatusBar objStatusBar_;
  TabStrip* picTabContainer_ = nullptr;
  FilesPanel* files_ = nullptr;
  FoldersPanel* folders_ = nullptr;
  InfoPanel* info_ = nullptr;
  bool unloaded_ = false;
};

}  // namespace sw
