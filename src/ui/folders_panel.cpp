#include "ui/folders_panel.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "core/options.h"

namespace sw {

namespace {

struct FolderRow {
  const char* name;     // spoken name of the row
  const char* caption;  // open button
  const char* toolTip;  // open button
  const char* icon;
};

// Rows in folder-number order: temporary, recent, cookies, history, personal, trash.
const FolderRow kRows[FoldersPanel::kFolders] = {
    {"cartella temporanea", "Temp", "Visualizza il contenuto della cartella temporanea di sistema", "folder"},
    {"documenti recenti", "Recenti", "Visualizza il contenuto della cartella files recenti", "clock"},
    {"cookies", "Cookies", "Visualizza il contenuto della cartella \"cookies\".", "cookie"},
    {"cronologia", "Cronologia", "Visualizza il contenuto della cartella \"Cronologia di Internet\".", "history"},
    {"cartella personale", "Personale", "Visualizza il contenuto della cartella Personale", "user"},
    {"cestino", "Cestino", "Visualizza il contenuto del \"cestino\".", "trash"},
};

struct Tool {
  const char* caption;
  const char* toolTip;
};

const Tool kTools[4] = {
    {"Pulizia disco", "Permette di cancellare dal disco i file non necessari"},
    {"Defrag", "Deframmenta i dischi per rendere il computer più veloce ed efficiente"},
    {"Cronologia", "Consente di eseguire la pulizia dei file Internet temporanei"},
    {"Programmi", "Consente di disintallare i programmi che non vengono usati"},
};

const QString kCountPrefix = QStringLiteral("File e cartelle presenti: ");

QLabel* Icon(QWidget* parent, const QString& name, const QRect& geometry) {
  auto* label = new QLabel(parent);
  label->setPixmap(QPixmap(QStringLiteral(":/icons/%1.png").arg(name)));
  label->setGeometry(geometry);
  label->setAccessibleName(QStringLiteral("Icona"));
  return label;
}

}  // namespace

FoldersPanel::FoldersPanel(const Services& services, QWidget* parent) : QWidget(parent), services_(services) {
  setObjectName(QStringLiteral("picTab_1"));
  Timer1_.setObjectName(QStringLiteral("Timer1"));
  Timer1_.setInterval(500);

  for (int k = 0; k < kFolders; ++k) {
    const FolderRow& row = kRows[k];
    const int y = 12 + k * 32;
    const auto index = static_cast<std::size_t>(k);
    auto* check = new QCheckBox(this);
    check->setObjectName(QStringLiteral("chkMultiClear_%1").arg(k));
    check->setGeometry(14, y + 4, 18, 18);
    check->setAccessibleName(QStringLiteral("Includi nella pulizia: ") + QString::fromUtf8(row.name));
    connect(check, &QCheckBox::toggled, this, [this] { chkMultiClear_Click(); });
    chkMultiClear_[index] = check;

    auto* empty = new QPushButton(this);
    empty->setObjectName(QStringLiteral("cmdCancelFolder_%1").arg(k));
    empty->setGeometry(38, y, 30, 26);
    empty->setIcon(QIcon(QStringLiteral(":/icons/cross.png")));
    empty->setToolTip(QStringLiteral("Cancella il contenuto della cartella"));
    empty->setAccessibleName(QStringLiteral("Cancella il contenuto della cartella: ") + QString::fromUtf8(row.name));
    cmdCancelFolder_[index] = empty;

    // Open buttons are numbered from the trash: index (folder + 1) mod 6.
    const int openIndex = (k + 1) % kFolders;
    auto* open = new QPushButton(QString::fromUtf8(row.caption), this);
    open->setObjectName(QStringLiteral("cmdSpecialFolder_%1").arg(openIndex));
    open->setGeometry(74, y, 120, 26);
    open->setToolTip(QString::fromUtf8(row.toolTip));
    cmdSpecialFolder_[static_cast<std::size_t>(openIndex)] = open;

    Icon(this, QString::fromLatin1(row.icon), {202, y + 5, 16, 16});
    auto* count = new QLabel(kCountPrefix, this);
    count->setObjectName(QStringLiteral("lblSpecialFolder_%1").arg(k));
    count->setGeometry(226, y + 4, 370, 18);
    lblSpecialFolder_[index] = count;
  }

  const int totalY = 12 + kFolders * 32 + 6;
  Icon(this, QStringLiteral("trash"), {14, totalY + 5, 16, 16});
  cmdTotalCancel_ = new QPushButton(QStringLiteral("Pulisci cartelle selezionate"), this);
  cmdTotalCancel_->setObjectName(QStringLiteral("cmdTotalCancel"));
  cmdTotalCancel_->setGeometry(38, totalY, 220, 26);
  cmdTotalCancel_->setToolTip(QStringLiteral("Cancella definitivamente il contenuto di tutte le cartelle selezionate"));
  auto* total = new QLabel(kCountPrefix, this);
  total->setObjectName(QStringLiteral("lblSpecialFolder_6"));
  total->setGeometry(266, totalY + 4, 330, 18);
  lblSpecialFolder_[6] = total;

  Icon(this, QStringLiteral("folder"), {14, totalY + 37, 16, 16});
  auto* note =
      new QLabel(QStringLiteral("N.B. I files cancellati da queste cartelle vengono eliminati definitivamente."), this);
  note->setObjectName(QStringLiteral("Label3"));
  note->setGeometry(38, totalY + 36, 560, 18);

  const int toolsY = totalY + 72;
  auto* line = new QFrame(this);
  line->setObjectName(QStringLiteral("Line1"));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(8, toolsY, 592, 4);
  Icon(this, QStringLiteral("tool"), {14, toolsY + 13, 16, 16});
  auto* heading = new QLabel(QStringLiteral("Utility di sistema"), this);
  heading->setObjectName(QStringLiteral("Label5"));
  heading->setGeometry(38, toolsY + 12, 300, 18);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  for (int i = 0; i < 4; ++i) {
    const int x = 14 + i * 148;
    Icon(this, QStringLiteral("tool"), {x, toolsY + 45, 16, 16});
    auto* tool = new QPushButton(QString::fromUtf8(kTools[i].caption), this);
    tool->setObjectName(QStringLiteral("cmdWindowsUtility_%1").arg(i));
    tool->setGeometry(x + 20, toolsY + 40, 118, 26);
    tool->setToolTip(QString::fromUtf8(kTools[i].toolTip));
    cmdWindowsUtility_[static_cast<std::size_t>(i)] = tool;
  }
}

void FoldersPanel::RestoreGroupCleaning() {
  bRestoring_ = true;
  for (int i = 0; i < kFolders; ++i) {
    const std::string value = services_.settings->Read(options::GroupCleaningKey(i), "0");
    if (const auto state = options::ToCheckState(value)) chkMultiClear(i)->setChecked(*state == 1);
  }
  bRestoring_ = false;
}

void FoldersPanel::chkMultiClear_Click() {
  if (bRestoring_) return;
  for (int i = 0; i < kFolders; ++i)
    services_.settings->Save(options::GroupCleaningKey(i), options::FromCheck(chkMultiClear(i)->isChecked()));
}

void FoldersPanel::setActive(bool active) {
  if (active)
    Timer1_.start();
  else
    Timer1_.stop();
}

}  // namespace sw
