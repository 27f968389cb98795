// sw::TabStrip: the hand-drawn three-tab strip of the main window
// (objectName "picTabContainer").
//
// UI thread only. The strip paints the tabs along its top edge and shows one
// of three panel widgets below them. The panels are created by the caller and
// handed over with setPanels(); the strip reparents them, so from then on Qt's
// parent/child ownership deletes them with the strip. The strip owns their
// geometry and visibility. Panels deleted elsewhere are tolerated (held by
// QPointer).
//
// Tab numbers are 1-based everywhere in this interface. Invalid tab numbers
// never throw: see selectTab().
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>

#include "core/tab_layout.h"

class QLabel;
class QShortcut;

namespace sw {

class TabStrip : public QWidget {
  Q_OBJECT

 public:
  explicit TabStrip(QWidget* parent = nullptr);
  ~TabStrip() override;

  // Reparents the three panels into the strip, lays them out below the tabs
  // and shows only the active one. Null entries are allowed (that tab then
  // shows nothing). Replaced panels are hidden but not deleted: they stay
  // children of the strip until their owner deletes them.
  void setPanels(const std::array<QWidget*, kTabCount>& panels);
  QWidget* panel(int tab) const;  // null when out of range or not set

  // 1..3 selects that tab; 0 or below selects tab 1 (settings written by
  // older versions may hold such values); above 3 is ignored. Selecting the
  // active tab again repaints and emits tabSelected() again, because the
  // window uses the signal to refresh the tab's contents. Works even while
  // user switching is disabled.
  void selectTab(int tab);
  int activeTab() const { return active_; }

  // While disabled (the main window does this during a search) clicks,
  // arrow keys and Ctrl+Tab no longer switch tabs.
  void setTabSwitchingEnabled(bool enabled);
  bool tabSwitchingEnabled() const { return switchingEnabled_; }

  // Captions exactly as drawn, blanks included; 1-based.
  static QString caption(int tab);
  // The layout the strip currently draws with (depends on its font).
  TabLayout layout() const;
  CaptionWidths captionWidths() const;

  // Which tab a point in strip coordinates selects; 0 for none.
  int tabAt(const QPointF& pos) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // Emitted after the panel of `tab` has been shown.
  void tabSelected(int tab);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QFont captionFont() const;
  void layoutPanels();
  void showActivePanel();
  void updateAccessibleDescription();
  void handleUserPress(const QPointF& pos);
  void step(int delta, bool wrap);

  int active_ = 1;
  bool switchingEnabled_ = true;
  std::array<QPointer<QWidget>, kTabCount> panels_;
  QLabel* clickSurface_ = nullptr;
  QShortcut* nextShortcut_ = nullptr;
  QShortcut* previousShortcut_ = nullptr;
};

}  // namespace sw
