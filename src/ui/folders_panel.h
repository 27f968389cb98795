// The "Folders & Tools" tab (picTab(1)): one row per special folder (tick box,
// empty button, open button, count label), the multi-folder cleaning button,
// and the row of system tools. This class owns the controls and the tie of
// the six tick boxes to the settings "GroupCleaning0".."GroupCleaning5"; the
// refresh timer Timer1 runs while the tab is shown. UI thread only.
#pragma once

#include <QTimer>
#include <QWidget>
#include <array>

#include "platform/services.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace sw {

class FoldersPanel : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kFolders = 6;

  FoldersPanel(const Services& services, QWidget* parent = nullptr);

  // Ticks the boxes from the settings without writing them back.
  void RestoreGroupCleaning();
  // Runs the refresh timer exactly while the tab is active.
  void setActive(bool active);
  QTimer& timer() { return Timer1_; }

  QCheckBox* chkMultiClear(int index) const { return chkMultiClear_[static_cast<std::size_t>(index)]; }

 private:
  void chkMultiClear_Click();

  Services services_;
  bool bRestoring_ = false;
  QTimer Timer1_;
  std::array<QCheckBox*, kFolders> chkMultiClear_{};
  std::array<QPushButton*, kFolders> cmdCancelFolder_{};
  std::array<QPushButton*, kFolders> cmdSpecialFolder_{};
  std::array<QLabel*, kFolders + 1> lblSpecialFolder_{};
  QPushButton* cmdTotalCancel_ = nullptr;
  std::array<QPushButton*, 4> cmdWindowsUtility_{};
};

}  // namespace sw
