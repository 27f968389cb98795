#include "ui/tab_strip.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace sw {

namespace {

constexpr int kPanelMargin = 6;
constexpr int kPanelTop = 30;

const QColor kActiveFace(250, 248, 243);
const QColor kBandOuter(249, 169, 0);
const QColor kBandInner(246, 196, 86);

struct TabNames {
  const char* caption;  // as drawn, blanks included
  const char* spoken;   // for screen readers: no layout blanks, and in Italian
};
const TabNames kTabNames[kTabCount] = {
    {"    Files    ", "Files"}, {"Folders & Tools", "Cartelle e strumenti"}, {" Informazioni", "Informazioni"}};

QString SpokenName(int tab) {
  return tab >= 1 && tab <= kTabCount ? QString::fromUtf8(kTabNames[tab - 1].spoken) : QString();
}

QPen Cosmetic(const QColor& colour) {
  QPen pen(colour, 0);             // width 0: exactly one pixel whatever the transform
  pen.setCapStyle(Qt::SquareCap);  // square caps paint both end points
  return pen;
}

}  // namespace

TabStrip::TabStrip(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("picTabContainer"));
  setFocusPolicy(Qt::TabFocus);
  setAccessibleName(QStringLiteral("Schede"));

  clickSurface_ = new QLabel(this);
  clickSurface_->setObjectName(QStringLiteral("lblCursorTab"));
  clickSurface_->setFrameShape(QFrame::NoFrame);
  clickSurface_->setGeometry(8, 3, 382, 20);
  clickSurface_->setCursor(Qt::PointingHandCursor);
  clickSurface_->setAccessibleName(QStringLiteral("Schede: Files, Cartelle e strumenti, Informazioni"));
  clickSurface_->installEventFilter(this);

  // Window-wide so the keys work from inside the panels, where focus
  // normally is.
  nextShortcut_ = new QShortcut(this);
  nextShortcut_->setKey(QKeySequence(Qt::CTRL | Qt::Key_Tab));
  nextShortcut_->setContext(Qt::WindowShortcut);
  connect(nextShortcut_, &QShortcut::activated, this, [this] { step(+1, true); });

  // X11 reports Shift+Tab as Backtab; the shortcut map folds that back into
  // Shift+Tab, so one sequence covers both.
  previousShortcut_ = new QShortcut(this);
  previousShortcut_->setKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab));
  previousShortcut_->setContext(Qt::WindowShortcut);
  connect(previousShortcut_, &QShortcut::activated, this, [this] { step(-1, true); });

  updateAccessibleDescription();
}

TabStrip::~TabStrip() = default;

QString TabStrip::caption(int tab) {
  return tab >= 1 && tab <= kTabCount ? QString::fromUtf8(kTabNames[tab - 1].caption) : QString();
}

QFont TabStrip::captionFont() const {
  QFont f = font();
  f.setWeight(QFont::Normal);
  return f;
}

CaptionWidths TabStrip::captionWidths() const {
  const QFontMetricsF fm(captionFont());
  CaptionWidths widths{};
  for (int i = 0; i < kTabCount; ++i) {
    widths[i] = fm.horizontalAdvance(caption(i + 1));
  }
  return widths;
}

TabLayout TabStrip::layout() const { return LayoutTabs(captionWidths()); }

int TabStrip::tabAt(const QPointF& pos) const {
  const CaptionWidths widths = captionWidths();
  return TabAt(LayoutTabs(widths), widths, pos.x(), pos.y());
}

QSize TabStrip::minimumSizeHint() const {
  const TabLayout l = layout();
  // Room for the raised last tab plus the frame, and a sliver of panel.
  const PixelRect last = TabRect(l, kTabCount, true);
  return {last.right + 2, kPanelTop + kPanelMargin + 10};
}

QSize TabStrip::sizeHint() const {
  const QSize min = minimumSizeHint();
  return {min.width() + 2 * kPanelMargin, 300};
}

void TabStrip::setPanels(const std::array<QWidget*, kTabCount>& panels) {
  for (int i = 0; i < kTabCount; ++i) {
    if (panels_[i] && panels_[i] != panels[i]) panels_[i]->hide();
    panels_[i] = panels[i];
    if (panels[i] != nullptr && panels[i]->parentWidget() != this) {
      panels[i]->setParent(this);
    }
  }
  layoutPanels();
  showActivePanel();
}

QWidget* TabStrip::panel(int tab) const {
  if (tab < 1 || tab > kTabCount) return nullptr;
  return panels_[tab - 1];
}

void TabStrip::selectTab(int tab) {
  if (tab > kTabCount) return;
  active_ = tab < 1 ? 1 : tab;
  showActivePanel();
  updateAccessibleDescription();
  update();
  emit tabSelected(active_);
}

void TabStrip::setTabSwitchingEnabled(bool enabled) {
  switchingEnabled_ = enabled;
  clickSurface_->setEnabled(enabled);
  nextShortcut_->setEnabled(enabled);
  previousShortcut_->setEnabled(enabled);
}

void TabStrip::layoutPanels() {
  const QRect area(kPanelMargin, kPanelTop, width() - 2 * kPanelMargin, height() - kPanelTop - kPanelMargin);
  for (const auto& p : panels_) {
    if (p) p->setGeometry(area);
  }
}

void TabStrip::showActivePanel() {
  // The others are hidden first and the active one is never hidden, so a
  // focused control inside it keeps focus when its tab is reselected.
  for (int i = 0; i < kTabCount; ++i) {
    if (panels_[i] && i != active_ - 1) panels_[i]->hide();
  }
  if (QWidget* p = panels_[active_ - 1]) p->show();
}

void TabStrip::updateAccessibleDescription() {
  setAccessibleDescription(QStringLiteral("Scheda attiva: %1").arg(SpokenName(active_)));
}

void TabStrip::step(int delta, bool wrap) {
  if (!switchingEnabled_) return;
  int target = active_ + delta;
  if (wrap) {
    target = ((target - 1) % kTabCount + kTabCount) % kTabCount + 1;
  } else if (target < 1 || target > kTabCount) {
    return;
  }
  selectTab(target);
}

void TabStrip::handleUserPress(const QPointF& pos) {
  if (!switchingEnabled_) return;
  if (const int tab = tabAt(pos); tab != 0) selectTab(tab);
}

void TabStrip::mousePressEvent(QMouseEvent* event) {
  event->accept();
  // A press that reached us through a disabled click surface (Qt passes
  // presses on disabled children up to the parent) must stay inert.
  if (!clickSurface_->isEnabled() && clickSurface_->geometry().contains(event->position().toPoint())) {
    return;
  }
  handleUserPress(event->position());
}

bool TabStrip::eventFilter(QObject* watched, QEvent* event) {
  if (watched == clickSurface_ &&
      (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
    auto* me = static_cast<QMouseEvent*>(event);
    me->accept();
    if (clickSurface_->isEnabled()) {
      handleUserPress(me->position() + QPointF(clickSurface_->pos()));
    }
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TabStrip::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
    if (event->key() == Qt::Key_Left) {
      step(-1, false);
      return;
    }
    if (event->key() == Qt::Key_Right) {
      step(+1, false);
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

void TabStrip::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutPanels();
}

void TabStrip::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) update();
  QWidget::changeEvent(event);
}

void TabStrip::paintEvent(QPaintEvent* /*event*/) {
  const QFont font = captionFont();
  const QFontMetricsF fm(font);
  const CaptionWidths tw = captionWidths();
  const TabLayout l = LayoutTabs(tw);
  const double th = fm.height();
  const QPalette& pal = palette();
  const QColor face = pal.color(QPalette::Button);
  const QColor light = pal.color(QPalette::Light);
  const QColor dark = pal.color(QPalette::Dark);
  const QColor text = pal.color(QPalette::ButtonText);
  const int W = width();
  const int H = height();
  const int a = active_;

  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setFont(font);
  p.fillRect(rect(), face);

  auto line = [&p](const QColor& c, int x1, int y1, int x2, int y2) {
    p.setPen(Cosmetic(c));
    p.drawLine(x1, y1, x2, y2);
  };
  auto drawCaption = [&](int tab, bool active) {
    const CaptionOrigin o = CaptionPosition(l, tab, tw[tab - 1], th, active);
    p.setPen(text);
    p.drawText(QPointF(o.x, o.y + fm.ascent()), caption(tab));
    return QRectF(o.x, o.y, tw[tab - 1], th);
  };

  // Right to left so each tab's left border overlaps its left neighbour's
  // right border the same way on every paint.
  for (int tab = kTabCount; tab >= 1; --tab) {
    if (tab == a) continue;
    const int x = l.x[tab - 1];
    const int w = l.w[tab - 1];
    line(light, x + 1, 27, x + 1, 5);
    line(light, x + 4, 4, x + w - 3, 4);
    line(light, x + 1, 5, x + 4, 4);
    line(dark, x + w - 1, 6, x + w - 4, 4);
    line(dark, x + w - 1, 27, x + w - 1, 5);
    drawCaption(tab, false);
  }

  // Frame of the panel area.
  line(light, 1, 27, W, 27);
  line(light, 0, 27, 0, H);
  line(dark, 0, H - 1, W, H - 1);
  line(dark, W - 1, 27, W - 1, H);

  const int x = l.x[a - 1];
  const int w = l.w[a - 1];
  p.fillRect(QRect(QPoint(x - 3, 4), QPoint(x + w + 3, 28)), face);
  line(light, x - 4, 27, x - 4, 2);
  line(light, x - 1, 1, x + w + 1, 1);
  line(light, x - 1, 1, x - 4, 3);
  line(dark, x + w + 3, 27, x + w + 3, 2);
  line(dark, x + w + 1, 2, x + w + 3, 3);
  // Face of the active tab: everything strictly inside its edges. Rows 2..4
  // are left alone, the band below covers them.
  p.fillRect(QRect(QPoint(x - 3, 5), QPoint(x + w + 2, 26)), kActiveFace);
  const QRectF captionBox = drawCaption(a, true);
  // Opens the active tab into the panel below it.
  line(face, x - 3, 27, x + w + 3, 27);

  const auto band = ActiveBandSpans(l, a);
  line(kBandOuter, band[0].x1, band[0].y, band[0].x2, band[0].y);
  line(kBandInner, band[1].x1, band[1].y, band[1].x2, band[1].y);
  line(kBandOuter, band[2].x1, band[2].y, band[2].x2, band[2].y);

  if (hasFocus()) {
    QStyleOptionFocusRect opt;
    opt.initFrom(this);
    opt.rect = captionBox.toAlignedRect().adjusted(-2, 0, 2, 0);
    opt.backgroundColor = kActiveFace;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
  }
}

}  // namespace sw
