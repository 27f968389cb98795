// The "    Files    " tab (picTab(0)): cleaning mode, search location, the
// pattern list, the search command with its stop button and summary, and the
// results list. It owns its controls and the search state; the main window
// lends it the services, the status bar and a way to lock the tab strip.
// UI thread only; the walk itself runs on SearchRunner's worker.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/walk.h"
#include "platform/services.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sw {

class ExtensionList;
class ResultsModel;
class ResultsView;
class SearchRunner;
class StatusBar;

class FilesPanel : public QWidget {
  Q_OBJECT
 public:
  FilesPanel(const Services& services, StatusBar& statusBar, QWidget* parent = nullptr);
  ~FilesPanel() override;

  // Called with false while a search runs, to lock the tab strip.
  void setTabLock(std::function<void(bool enabled)> lock) { tabLock_ = std::move(lock); }

  // Load-sequence steps, in the order the main window calls them.
  void InitLocation();  // fills Drive1 and runs Drive1_Change
  void ShowStartFolder();
  void SetCleaningMode(bool automatic);
  void RestoreGroupAttributi();
  // The active search location (Drive1 or txtFolderStart) wears the tooltip colour.
  void MarkActiveLocation(bool automatic);

  // Handlers named after their controls.
  void Drive1_Change();
  void txtFolderStart_Click();
  void optAuto_Click(int index);
  void optClear_Click(int index);
  void cmdCerca_Click();
  void ClearResults();

  // Stops a running search and waits for its worker (window closing).
  void StopSearch();

  bool searching() const;
  bool automatic() const;
  const std::string& startFolder() const { return sStartFolder_; }
  std::uint64_t clusterSize() const { return lClusterSize_; }
  ExtensionList* extensionList() const { return lstEstensione_; }
  ResultsModel* results() const { return model_; }

  // Texts of the delete button: recycle bin, permanent.
  static const std::array<QString, 2>& asDeleteMode();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  WalkOptions BuildSearchFilter() const;
  void SetSearchBusy(bool busy);
  void OnSearchFinished(const WalkTotals& totals);
  void SelectVolumeOf(const std::string& path);
  std::string SelectedVolume() const;
  int ProgramVolumeIndex() const;

  Services services_;
  StatusBar& statusBar_;
  std::function<void(bool)> tabLock_;

  // Search state.
  std::string sStartFolder_;
  std::uint64_t lClusterSize_ = 1;
  bool bSuppressDriveChange_ = false;
  bool bRestoring_ = false;

  std::array<QRadioButton*, 2> optAuto_{};
  std::array<QRadioButton*, 2> optClear_{};
  QButtonGroup* autoGroup_ = nullptr;
  QButtonGroup* clearGroup_ = nullptr;
  QComboBox* Drive1_ = nullptr;
  QLabel* Label2_ = nullptr;
  QWidget* picOptions_ = nullptr;
  std::array<QLabel*, 3> lblConsolle_{};
  QLineEdit* txtFolderStart_ = nullptr;
  ExtensionList* lstEstensione_ = nullptr;
  QCheckBox* chkAttributi_ = nullptr;
  QPushButton* cmdCerca_ = nullptr;
  QPushButton* cmdClear_ = nullptr;
  QLabel* picStop_ = nullptr;
  ResultsView* LstPercorsoCompleto_ = nullptr;
  ResultsModel* model_ = nullptr;
  SearchRunner* runner_ = nullptr;
};

}  // namespace sw
