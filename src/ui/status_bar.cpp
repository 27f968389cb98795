#include "ui/status_bar.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QSizeGrip>
#include <QWidget>
#include <algorithm>

namespace sw {

namespace {

constexpr int kPartTop = 2;
constexpr int kPartBottomGap = 1;
constexpr int kTextIndent = 2;

}  // namespace

StatusBar::StatusBar(QObject* owner) : QObject(owner) {}

StatusBar::~StatusBar() {
  if (host_) host_->removeEventFilter(this);
  delete bar_.data();  // null when the parent already deleted it
}

bool StatusBar::Create(QWidget* parent) {
  if (created_ || parent == nullptr) return false;
  created_ = true;

  bar_ = new QWidget(parent);
  bar_->setObjectName(QStringLiteral("objStatusBar"));
  bar_->setAutoFillBackground(true);
  bar_->setAccessibleName(QStringLiteral("Barra di stato"));
  grip_ = new QSizeGrip(bar_);
  grip_->setObjectName(QStringLiteral("objStatusBarGrip"));
  bar_->installEventFilter(this);

  parts_.push_back(MakePart(0));

  host_ = parent;
  parent->installEventFilter(this);
  Dock(parent);
  bar_->show();
  return true;
}

StatusBar::Part StatusBar::MakePart(int index) {
  Part part;
  part.label = MakeLabel(index);
  return part;
}

QLabel* StatusBar::MakeLabel(int index) {
  auto* label = new QLabel(bar_);
  label->setObjectName(QStringLiteral("objStatusBarPart%1").arg(index));
  label->setTextFormat(Qt::PlainText);  // paths and file names are not HTML
  label->setMargin(0);
  label->setIndent(kTextIndent);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->show();
  return label;
}

int StatusBar::BarHeight() const {
  const QFontMetrics fm(bar_->font());
  // Frame and gaps around the text line.
  return std::max(kMinHeight, fm.height() + kPartTop + kPartBottomGap + 2 + 1);
}

void StatusBar::Dock(QWidget* parent) {
  const int h = BarHeight();
  bar_->setGeometry(0, parent->height() - h, parent->width(), h);
  bar_->raise();
  // setGeometry posts no resize event while hidden; lay out now regardless.
  LayoutParts();
}

void StatusBar::Resize(QWidget* parent) {
  if (!bar_) return;
  QWidget* target = parent != nullptr ? parent : bar_->parentWidget();
  if (target != nullptr) Dock(target);
}

bool StatusBar::SetParts(int count, const std::vector<int>& rightEdges) {
  if (!bar_) return false;
  if (count < 1 || count > kMaxParts || rightEdges.size() < static_cast<std::size_t>(count)) {
    return false;
  }
  const auto n = static_cast<std::size_t>(count);
  while (parts_.size() > n) {
    delete parts_.back().label;
    parts_.pop_back();
  }
  while (parts_.size() < n) {
    parts_.push_back(MakePart(static_cast<int>(parts_.size())));
  }
  for (std::size_t i = 0; i < n; ++i) parts_[i].rightEdge = rightEdges[i];
  std::erase_if(attached_, [count](const Attached& a) { return !a.widget || a.part >= count; });
  LayoutParts();
  return true;
}

QRect StatusBar::PartRect(int part) const {
  if (!bar_ || part < 0 || part >= PartCount()) return {};
  return parts_[static_cast<std::size_t>(part)].label->geometry();
}

void StatusBar::LayoutParts() {
  if (!bar_) return;
  const int w = bar_->width();
  const int h = bar_->height();
  const QSize gripSize = grip_->sizeHint();
  grip_->setGeometry(w - gripSize.width(), h - gripSize.height(), gripSize.width(), gripSize.height());
  const int fullRight = w - gripSize.width();
  const int partHeight = std::max(0, h - kPartTop - kPartBottomGap);

  int left = 0;
  for (Part& part : parts_) {
    const int right = part.rightEdge == -1 ? fullRight : part.rightEdge;
    part.label->setGeometry(left, kPartTop, std::max(0, right - left), partHeight);
    RefreshLabel(part);
    left = right;
  }
  for (const Attached& a : attached_) {
    if (a.widget) a.widget->move(PartRect(a.part).topLeft() + QPoint(1, 1));
  }
}

void StatusBar::RefreshLabel(Part& part) {
  QLabel* label = part.label;
  if ((part.style & kNoBorders) != 0) {
    label->setFrameStyle(QFrame::NoFrame);
  } else if ((part.style & kPopOut) != 0) {
    label->setFrameStyle(QFrame::Panel | QFrame::Raised);
  } else {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  }

  const QFontMetrics fm(label->font());
  const int room = std::max(0, label->contentsRect().width() - kTextIndent);
  const QString shown = fm.elidedText(part.text, Qt::ElideRight, room);
  const bool elided = shown != part.text;
  label->setText(shown);
  // Screen readers get the whole text even when the eye gets "...".
  label->setAccessibleName(part.text);
  if (!part.toolTip.isEmpty()) {
    label->setToolTip(part.toolTip);
  } else {
    label->setToolTip(elided ? part.text : QString());
  }
}

void StatusBar::SetText(int part, const QString& text, int style) {
  if (!bar_ || part < 0 || part >= PartCount()) return;
  Part& p = parts_[static_cast<std::size_t>(part)];
  p.text = text;
  p.style = style;
  RefreshLabel(p);
}

QString StatusBar::GetText(int part) const {
  if (!bar_ || part < 0 || part >= PartCount()) return {};
  return parts_[static_cast<std::size_t>(part)].text;
}

void StatusBar::SetToolTip(int part, const QString& toolTip) {
  if (!bar_ || part < 0 || part >= PartCount()) return;
  Part& p = parts_[static_cast<std::size_t>(part)];
  p.toolTip = toolTip;
  RefreshLabel(p);
}

void StatusBar::Show() {
  if (bar_) bar_->show();
}

void StatusBar::Hide() {
  if (bar_) bar_->hide();
}

void StatusBar::CopyObj(int part, QWidget* obj) {
  if (!bar_ || obj == nullptr || part < 0 || part >= PartCount()) return;
  obj->setParent(bar_);
  obj->move(PartRect(part).topLeft() + QPoint(1, 1));
  obj->show();
  obj->raise();
  std::erase_if(attached_, [obj](const Attached& a) { return !a.widget || a.widget == obj; });
  attached_.push_back({obj, part});
}

bool StatusBar::eventFilter(QObject* watched, QEvent* event) {
  if (bar_ && watched == host_ && event->type() == QEvent::Resize && bar_->parentWidget() == host_) {
    Dock(host_);
  } else if (bar_ && watched == bar_) {
    if (event->type() == QEvent::Resize) {
      LayoutParts();
    } else if (event->type() == QEvent::FontChange && host_) {
      Dock(host_);
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace sw
