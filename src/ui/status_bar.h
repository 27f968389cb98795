// sw::StatusBar: the main window's status bar, a strip of text parts docked
// along the bottom edge of a parent widget (objectName "objStatusBar").
//
// UI thread only. The object owns its bar widget: destroying the StatusBar
// deletes the widget unless the parent already did (it is held by QPointer).
// Every call made before Create(), or after the widget was deleted, does
// nothing and returns an empty/false result; nothing here throws. Part
// numbers are 0-based; out-of-range parts are ignored.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <vector>

class QLabel;
class QSizeGrip;
class QWidget;

namespace sw {

class StatusBar : public QObject {
  Q_OBJECT

 public:
  // SetText() styles; any other bits are ignored.
  static constexpr int kSunken = 0;
  static constexpr int kNoBorders = 0x100;
  static constexpr int kPopOut = 0x200;
  static constexpr int kMaxParts = 255;
  static constexpr int kMinHeight = 22;

  explicit StatusBar(QObject* owner = nullptr);
  ~StatusBar() override;

  // Creates the bar as a visible child of `parent`, docked at its bottom at
  // full width and following its resizes, with one part spanning the bar.
  // Returns false (and keeps the existing bar) on any call after the first
  // successful one, and for a null parent.
  bool Create(QWidget* parent);
  QWidget* widget() const { return bar_; }

  // `rightEdges[i]` is the x (bar pixels) of part i's right edge; -1 extends
  // it to the size grip. Refused, changing nothing, unless 1 <= count <= 255
  // and rightEdges holds at least `count` values. Parts that survive keep
  // their text, style and tooltip.
  bool SetParts(int count, const std::vector<int>& rightEdges);
  int PartCount() const { return static_cast<int>(parts_.size()); }
  // Geometry of a part in bar coordinates; empty when out of range.
  QRect PartRect(int part) const;

  void SetText(int part, const QString& text, int style = kSunken);
  QString GetText(int part) const;
  // An explicit tooltip; while empty, an elided part shows its full text.
  void SetToolTip(int part, const QString& toolTip);

  void Show();
  void Hide();
  // Re-docks at the bottom of `parent` at its full width (null: the bar's
  // current parent).
  void Resize(QWidget* parent);
  // Reparents `obj` into the bar at the part's top-left corner (+1, +1),
  // keeping its size, and shows it. It follows the part on later layouts.
  void CopyObj(int part, QWidget* obj);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Part {
    QLabel* label = nullptr;  // child of the bar
    int rightEdge = -1;
    QString text;
    QString toolTip;
    int style = kSunken;
  };
  struct Attached {
    QPointer<QWidget> widget;
    int part = 0;
  };

  int BarHeight() const;
  void Dock(QWidget* parent);
  void LayoutParts();
  void RefreshLabel(Part& part);
  Part MakePart(int index);
  QLabel* MakeLabel(int index);

  bool created_ = false;
  QPointer<QWidget> bar_;
  QPointer<QWidget> host_;  // the widget whose resizes we follow
  QSizeGrip* grip_ = nullptr;
  std::vector<Part> parts_;
  std::vector<Attached> attached_;
};

}  // namespace sw
