#include "ui/info_panel.h"

#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "core/files.h"
#include "core/options.h"

namespace sw {

const QString InfoPanel::kEmail = QStringLiteral("sorrelwick@example.org");
const QString InfoPanel::kHomePage = QStringLiteral("https://example.org/sorrelwick/");
const QString InfoPanel::kSite = QStringLiteral("https://example.org/");

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, double points = 0, bool bold = false) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(geometry);
  if (points > 0) {
    QFont font = label->font();
    font.setPointSizeF(points);
    font.setBold(bold);
    label->setFont(font);
  }
  return label;
}

void MakeLink(QLabel* label, QObject* filter) {
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  label->setCursor(Qt::PointingHandCursor);
  label->setFocusPolicy(Qt::StrongFocus);
  label->installEventFilter(filter);
}

}  // namespace

InfoPanel::InfoPanel(const Services& services, QWidget* parent) : QWidget(parent), services_(services) {
  setObjectName(QStringLiteral("picTab_2"));

  imgLogo_ = MakeLabel(this, "imgLogo", {20, 16, 96, 96});
  imgLogo_->setPixmap(QPixmap(QStringLiteral(":/icons/logo.png")));
  imgLogo_->setToolTip(kSite);
  imgLogo_->setAccessibleName(QStringLiteral("Logo: apri il sito ") + kSite);
  imgLogo_->setCursor(Qt::PointingHandCursor);
  imgLogo_->installEventFilter(this);

  lbltitolo_ = MakeLabel(this, "lbltitolo", {132, 12, 300, 30}, 15.75);
  lblVersione_ = MakeLabel(this, "lblVersione", {132, 44, 300, 22}, 11.25, true);
  lblDescrizione_ = MakeLabel(this, "lblDescrizione", {132, 70, 470, 18}, 9);
  MakeLabel(this, "lbl", {132, 90, 470, 18}, 9)->setText(QStringLiteral("Applicazione per sistemi Linux"));
  MakeLabel(this, "Label9", {132, 110, 470, 18}, 9)
      ->setText(QStringLiteral("Programma freeware di libero utilizo e distribuzione"));
  MakeLabel(this, "Label4", {132, 130, 470, 18})
      ->setText(QStringLiteral("Realizzato dagli sviluppatori di Sorrelwick"));
  lblEmail_ = MakeLabel(this, "lblEmail", {132, 150, 300, 18}, 9, true);
  lblEmail_->setText(kEmail);
  lblEmail_->setToolTip(QStringLiteral("e-mail"));
  MakeLink(lblEmail_, this);

  MakeLabel(this, "Label1", {20, 182, 570, 18})
      ->setText(QStringLiteral("Aggiornamenti a questo programma possono  essere  scaricati  dal sito:"));
  lblHomePage_ = MakeLabel(this, "lblHomePage", {20, 200, 400, 20}, 9.75);
  lblHomePage_->setText(kHomePage);
  lblHomePage_->setToolTip(QStringLiteral("Pagina personale"));
  QPalette blue = lblHomePage_->palette();
  blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
  lblHomePage_->setPalette(blue);
  MakeLink(lblHomePage_, this);

  lblWarning_ = MakeLabel(this, "lblWarning", {20, 228, 570, 46});
  lblWarning_->setWordWrap(true);

  auto* options = MakeLabel(this, "Label8", {24, 282, 100, 18});
  options->setText(QStringLiteral("  Opzioni"));
  const std::array<QRect, 4> frame = {QRect(16, 290, 8, 1), QRect(94, 290, 496, 1), QRect(16, 290, 1, 52),
                                      QRect(590, 290, 1, 52)};
  for (std::size_t i = 0; i < frame.size(); ++i) {
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line2_%1").arg(i));
    line->setFrameShape(QFrame::Box);
    line->setForegroundRole(QPalette::Mid);
    line->setGeometry(frame[i]);
  }
  auto* bottom = new QFrame(this);
  bottom->setObjectName(QStringLiteral("Line2_4"));
  bottom->setFrameShape(QFrame::Box);
  bottom->setForegroundRole(QPalette::Mid);
  bottom->setGeometry(16, 341, 575, 1);

  chkConferma_ = new QCheckBox(this);
  chkConferma_->setObjectName(QStringLiteral("chkConferma"));
  chkConferma_->setText(QStringLiteral(
      "Visualizza i messaggi di conferma sulle operazioni     di  cancellazione  e/o  eliminazione  dei  files"));
  chkConferma_->setGeometry(26, 306, 560, 24);
  chkConferma_->setChecked(true);
  connect(chkConferma_, &QCheckBox::toggled, this, [this](bool ticked) {
    services_.settings->Save(options::kMessageConfirmation, options::FromCheck(ticked));
    bMessageConfirmation_ = ticked;
  });

  cmdStampa_ = new QPushButton(this);
  cmdStampa_->setObjectName(QStringLiteral("cmdStampa"));
  cmdStampa_->setGeometry(20, 354, 44, 44);
  cmdStampa_->setIcon(QIcon(QStringLiteral(":/icons/book.png")));
  cmdStampa_->setIconSize(QSize(24, 24));
  cmdStampa_->setToolTip(QStringLiteral("Visualizza le istruzioni per l'uso del programma"));
  cmdStampa_->setAccessibleName(QStringLiteral("Guida"));
  connect(cmdStampa_, &QPushButton::clicked, this, &InfoPanel::ShowGuide);
}

void InfoPanel::ShowInfo(bool messageConfirmation) {
  bMessageConfirmation_ = messageConfirmation;
  lbltitolo_->setText(QStringLiteral("Sorrelwick"));
  lblVersione_->setText(QStringLiteral("Versione %1.%2.%3")
                            .arg(SORRELWICK_VERSION_MAJOR)
                            .arg(SORRELWICK_VERSION_MINOR)
                            .arg(SORRELWICK_VERSION_PATCH));
  lblDescrizione_->setText(
      QStringLiteral("Programma per la cancellazione dal disco fisso di files obsoleti o inutili."));
  chkConferma_->setChecked(messageConfirmation);
  lblWarning_->setText(
      QStringLiteral("Attenzione! Questo programma viene fornito \"as is\" (così com'è) senza alcuna garanzia di "
                     "funzionamento.") +
      QStringLiteral(" L'autore non si assume nessuna responsabilità nel caso di  perdite di dati provocate "
                     "dall'utilizzo di questo programma."));
}

std::string InfoPanel::GuidePath() { return GetTempDir() + "GuidaSorrelwick.htm"; }

void InfoPanel::ShowGuide() {
  bHelpShown_ = true;
  const std::string path = GuidePath();
  QFile resource(QStringLiteral(":/guide/GuidaSorrelwick.htm"));
  const bool read = resource.open(QIODevice::ReadOnly);
  const QByteArray bytes = read ? resource.readAll() : QByteArray();
  if (read && !bytes.isEmpty() &&
      WriteOwnFile(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) == 0 &&
      FileExists(path)) {
    services_.launcher->OpenFile(path);
    return;
  }
  services_.messages->Show(QStringLiteral("Impossibile visualizzare la guida."), 16);
}

void InfoPanel::RemoveGuide() {
  if (!bHelpShown_) return;
  const std::string path = GuidePath();
  if (FileExists(path)) RemoveOwnFile(path);
}

void InfoPanel::lblEmail_Click() {
  services_.launcher->OpenAddress(QStringLiteral("mailto:") + kEmail + QStringLiteral("?Subject=Sorrelwick - ") +
                                  lblVersione_->text());
}

void InfoPanel::lblHomePage_Click() {
  services_.launcher->OpenAddress(kHomePage);
  emit closeRequested();
}

void InfoPanel::imgLogo_Click() {
  services_.launcher->OpenAddress(kSite);
  emit closeRequested();
}

bool InfoPanel::eventFilter(QObject* watched, QEvent* event) {
  const bool click = event->type() == QEvent::MouseButtonRelease;
  const bool key = event->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                                         static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space);
  if (click || key) {
    if (watched == lblEmail_) {
      lblEmail_Click();
      return true;
    }
    if (watched == lblHomePage_) {
      lblHomePage_Click();
      return true;
    }
    if (watched == imgLogo_) {
      imgLogo_Click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace sw
