#include "ui/files_panel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include "core/files.h"
#include "core/options.h"
#include "core/patterns.h"
#include "core/text.h"
#include "ui/drawing.h"
#include "ui/extension_list.h"
#include "ui/results_model.h"
#include "ui/search_runner.h"
#include "ui/status_bar.h"

namespace sw {

namespace {

const QString kSearchCaption = QStringLiteral("&Cerca");
const QString kFirstSearchCaption = QStringLiteral("Cerca i file da eliminare");
const QString kStopCaption = QStringLiteral("&Interrompi ricerca");
const QString kSearchTip = QStringLiteral("Avvia la ricerca dei file");
const QString kStopTip = QStringLiteral("Interrompe la ricerca dei files");

QString Kilobytes(std::uint64_t bytes) {
  return QLocale().toString(static_cast<double>(bytes) / 1024.0, 'f', 0) + QStringLiteral(" KB");
}

template <typename T>
T* Make(QWidget* parent, const char* name, const QRect& geometry, const QString& text = {},
        const QString& toolTip = {}) {
  auto* widget = new T(parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  if constexpr (requires { widget->setText(text); }) {
    if (!text.isEmpty()) widget->setText(text);
  }
  if (!toolTip.isEmpty()) widget->setToolTip(toolTip);
  return widget;
}

// Two exclusive option buttons numbered 0 and 1, the first selected.
QButtonGroup* MakeOptionPair(QWidget* parent, QObject* owner, std::array<QRadioButton*, 2>& buttons, const char* name,
                             QPoint origin, int width, const std::array<std::pair<QString, QString>, 2>& texts) {
  auto* group = new QButtonGroup(owner);
  for (int i = 0; i < 2; ++i) {
    const auto index = static_cast<std::size_t>(i);
    const std::string objectName = std::string(name) + "_" + std::to_string(i);
    buttons[index] = Make<QRadioButton>(parent, objectName.c_str(), {origin.x(), origin.y() + 24 * i, width, 20},
                                        texts[index].first, texts[index].second);
    group->addButton(buttons[index], i);
  }
  buttons[0]->setChecked(true);
  return group;
}

}  // namespace

const std::array<QString, 2>& FilesPanel::asDeleteMode() {
  static const std::array<QString, 2> captions = {QStringLiteral("Invia al cestino i file selezionati"),
                                                  QStringLiteral("Elimina definitivamente i file selezionati")};
  return captions;
}

FilesPanel::FilesPanel(const Services& services, StatusBar& statusBar, QWidget* parent)
    : QWidget(parent), services_(services), statusBar_(statusBar) {
  setObjectName(QStringLiteral("picTab_0"));
  BuildControls();
}

FilesPanel::~FilesPanel() { StopSearch(); }

void FilesPanel::BuildControls() {
  autoGroup_ = MakeOptionPair(this, this, optAuto_, "optAuto", {12, 10}, 190,
                              {{{QStringLiteral("Pulizia automatica"), QStringLiteral("Esegue la pulizia automatica")},
                                {QStringLiteral("Pulizia personalizzata"),
                                 QStringLiteral("Consente di impostare una pulizia personalizzata")}}});
  connect(autoGroup_, &QButtonGroup::idClicked, this, &FilesPanel::optAuto_Click);

  Label2_ = Make<QLabel>(this, "Label2_2", {220, 12, 64, 20}, QStringLiteral("Cerca in :"));
  Drive1_ =
      Make<QComboBox>(this, "Drive1", {288, 8, 308, 24}, {}, QStringLiteral("Unità in cui effettuare la ricerca"));
  Drive1_->setAccessibleName(QStringLiteral("Unità in cui effettuare la ricerca"));
  Label2_->setBuddy(Drive1_);

  cmdCerca_ = Make<QPushButton>(this, "cmdCerca", {288, 42, 264, 32}, kFirstSearchCaption, kSearchTip);
  picStop_ = Make<QLabel>(this, "picStop", {564, 42, 32, 32});
  picStop_->setPixmap(QPixmap(QStringLiteral(":/icons/stop.png")));
  picStop_->setAccessibleName(QStringLiteral("Ricerca in corso"));
  picStop_->hide();

  picOptions_ = Make<QFrame>(this, "picOptions", {5, 85, 598, 150});
  lblConsolle_[0] = Make<QLabel>(picOptions_, "lblConsolle_0", {10, 10, 70, 20}, QStringLiteral("Cerca in :"));
  txtFolderStart_ = Make<QLineEdit>(picOptions_, "txtFolderStart", {84, 8, 504, 24});
  txtFolderStart_->setReadOnly(true);
  txtFolderStart_->setCursor(Qt::PointingHandCursor);
  txtFolderStart_->setAccessibleName(QStringLiteral("Cartella dove iniziare la ricerca"));
  txtFolderStart_->installEventFilter(this);
  lblConsolle_[0]->setBuddy(txtFolderStart_);

  // Four lines frame the pattern, attribute and deletion options.
  const std::array<QRect, 4> lines = {QRect(5, 38, 588, 1), QRect(5, 144, 588, 1), QRect(5, 38, 1, 107),
                                      QRect(592, 38, 1, 107)};
  for (int i = 0; i < 4; ++i) {
    auto* line = Make<QFrame>(picOptions_, ("Line3_" + std::to_string(i)).c_str(), lines[static_cast<std::size_t>(i)]);
    line->setFrameShape(QFrame::Box);
    line->setForegroundRole(QPalette::Mid);
  }

  lblConsolle_[1] =
      Make<QLabel>(picOptions_, "lblConsolle_1", {12, 44, 190, 18}, QStringLiteral("tipo di file da ricercare :"));
  lstEstensione_ = new ExtensionList(*services_.settings, *services_.messages, picOptions_);
  lstEstensione_->setGeometry(12, 64, 190, 76);
  lstEstensione_->setAccessibleName(QStringLiteral("Tipi di file da ricercare"));
  lblConsolle_[1]->setBuddy(lstEstensione_);

  lblConsolle_[2] =
      Make<QLabel>(picOptions_, "lblConsolle_2", {220, 44, 200, 18}, QStringLiteral("includi nella ricerca i files:"));
  chkAttributi_ = Make<QCheckBox>(
      picOptions_, "chkAttributi", {220, 64, 200, 40}, QStringLiteral("nascosti (hIdden)\ndi sistema (system)"),
      QStringLiteral("Include nella ricerca anche i files con l'attibuto nascosto e di sistema"));
  connect(chkAttributi_, &QCheckBox::toggled, this, [this](bool ticked) {
    if (!bRestoring_) services_.settings->Save(options::kGroupAttributi, options::FromCheck(ticked));
  });
  auto* picSearch = Make<QLabel>(picOptions_, "picSearch", {222, 110, 16, 16});
  picSearch->setPixmap(QPixmap(QStringLiteral(":/icons/search.png")));
  picSearch->setAccessibleName(QStringLiteral("Ricerca"));

  clearGroup_ =
      MakeOptionPair(picOptions_, this, optClear_, "optClear", {440, 64}, 140,
                     {{{QStringLiteral("Cestino"), QStringLiteral("Invia i file selezionati al cestino")},
                       {QStringLiteral("Elimina"), QStringLiteral("Elimina definitivamente i file selezionati")}}});
  connect(clearGroup_, &QButtonGroup::idClicked, this, &FilesPanel::optClear_Click);

  model_ = new ResultsModel(this);
  LstPercorsoCompleto_ = new ResultsView(this);
  LstPercorsoCompleto_->setGeometry(5, 242, 598, 128);
  LstPercorsoCompleto_->setModel(model_);

  cmdClear_ = Make<QPushButton>(this, "cmdClear", {5, 376, 320, 32}, asDeleteMode()[0]);
  cmdClear_->setEnabled(false);

  runner_ = new SearchRunner(this);
  connect(
      runner_, &SearchRunner::filesFound, this,
      [this](std::vector<FoundFile>& batch) { model_->Append(std::move(batch)); }, Qt::DirectConnection);
  connect(runner_, &SearchRunner::folderDone, this,
          [this](const QString& folder) { statusBar_.SetText(2, QStringLiteral(" ") + folder); });
  connect(runner_, &SearchRunner::finished, this, &FilesPanel::OnSearchFinished);
  connect(cmdCerca_, &QPushButton::clicked, this, &FilesPanel::cmdCerca_Click);
  connect(Drive1_, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
}

// ---- search location ---------------------------------------------------------

void FilesPanel::InitLocation() {
  bSuppressDriveChange_ = true;
  Drive1_->clear();
  for (const Volume& volume : services_.volumes->List()) {
    const QString text = volume.name.isEmpty() ? DisplayPath(volume.mountPoint)
                                               : DisplayPath(volume.mountPoint) + QStringLiteral("  [") + volume.name +
                                                     QStringLiteral("]");
    Drive1_->addItem(text, QByteArray::fromStdString(volume.mountPoint));
  }
  Drive1_->setCurrentIndex(ProgramVolumeIndex());
  bSuppressDriveChange_ = false;
  Drive1_Change();
}

std::string FilesPanel::SelectedVolume() const {
  return Drive1_->currentIndex() < 0 ? std::string("/") : Drive1_->currentData().toByteArray().toStdString();
}

int FilesPanel::ProgramVolumeIndex() const {
  const std::string own = services_.volumes->VolumeOf(PathBytes(QCoreApplication::applicationDirPath()));
  const int index = Drive1_->findData(QByteArray::fromStdString(own));
  return index < 0 ? 0 : index;
}

void FilesPanel::Drive1_Change() {
  if (bSuppressDriveChange_) return;
  std::string root = SelectedVolume();
  while (!services_.volumes->IsAvailable(root)) {
    const int answer = services_.messages->Show(QStringLiteral("Periferica non disponibile!\r\nRiprovare?"), 20);
    if (answer == kYes) continue;
    const int own = ProgramVolumeIndex();
    if (own != Drive1_->currentIndex()) {
      Drive1_->setCurrentIndex(own);  // runs Drive1_Change for the program's own volume
      return;
    }
    break;  // the program's own volume is gone too: keep what we have
  }
  sStartFolder_ = root;
  const std::uint64_t cluster = services_.volumes->ClusterSize(sStartFolder_);
  lClusterSize_ = cluster < 1 ? 1 : cluster;
  ClearResults();
  ShowStartFolder();
}

void FilesPanel::ShowStartFolder() {
  txtFolderStart_->setText(CompactPath(txtFolderStart_, DisplayPath(sStartFolder_)));
}

void FilesPanel::SelectVolumeOf(const std::string& path) {
  const std::string volume = services_.volumes->VolumeOf(path);
  const int index = Drive1_->findData(QByteArray::fromStdString(volume));
  bSuppressDriveChange_ = true;
  if (index >= 0) Drive1_->setCurrentIndex(index);
  bSuppressDriveChange_ = false;
}

void FilesPanel::txtFolderStart_Click() {
  if (!txtFolderStart_->isEnabled()) return;
  const std::string chosen = services_.picker->Browse(window(), SelectedVolume(),
                                                      QStringLiteral("Seleziona la cartella dove iniziare la ricerca"));
  if (chosen.empty()) return;
  services_.settings->Save(options::kMemoryFolder, chosen);
  sStartFolder_ = chosen;
  SelectVolumeOf(sStartFolder_);
  ShowStartFolder();
}

bool FilesPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtFolderStart_) {
    const bool click = event->type() == QEvent::MouseButtonRelease;
    const bool key = event->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space ||
                                                           static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                                           static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (click || key) {
      txtFolderStart_Click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// ---- cleaning mode -----------------------------------------------------------

bool FilesPanel::automatic() const { return optAuto_[0]->isChecked(); }

void FilesPanel::RestoreGroupAttributi() {
  bRestoring_ = true;
  if (const auto state = options::ToCheckState(services_.settings->Read(options::kGroupAttributi, "0")))
    chkAttributi_->setChecked(*state == 1);
  bRestoring_ = false;
}

void FilesPanel::SetCleaningMode(bool automatic) {
  if (automatic) {
    bRestoring_ = true;
    chkAttributi_->setChecked(false);
    optClear_[0]->setChecked(true);
    bRestoring_ = false;
  } else {
    RestoreGroupAttributi();
  }
  lstEstensione_->LoadListExtension(automatic);
  const bool custom = !automatic;
  txtFolderStart_->setEnabled(custom);
  lstEstensione_->setEnabled(custom);
  chkAttributi_->setEnabled(custom);
  optClear_[0]->setEnabled(custom);
  optClear_[1]->setEnabled(custom);
  lblConsolle_[0]->setEnabled(custom);
  lblConsolle_[2]->setEnabled(custom);
  Drive1_->setEnabled(automatic);
  picOptions_->setEnabled(custom);
}

void FilesPanel::MarkActiveLocation(bool automatic) {
  // The active search location wears the tooltip background.
  QPalette drive = Drive1_->palette();
  drive.setColor(QPalette::Base, automatic ? palette().color(QPalette::ToolTipBase) : palette().color(QPalette::Base));
  drive.setColor(QPalette::Button, drive.color(QPalette::Base));
  Drive1_->setPalette(drive);
  QPalette box = txtFolderStart_->palette();
  box.setColor(QPalette::Base, automatic ? palette().color(QPalette::Base) : palette().color(QPalette::ToolTipBase));
  txtFolderStart_->setPalette(box);
}

void FilesPanel::optAuto_Click(int index) {
  if (index == 0) {
    optAuto_[0]->setChecked(true);
    SetCleaningMode(true);
    cmdClear_->setText(asDeleteMode()[0]);
    sStartFolder_ = SelectedVolume();
    txtFolderStart_->clear();
    MarkActiveLocation(true);
  } else {
    optAuto_[1]->setChecked(true);
    SetCleaningMode(false);
    if (optClear_[1]->isChecked()) cmdClear_->setText(asDeleteMode()[1]);
    const std::string memory = services_.settings->Read(options::kMemoryFolder, "");
    MarkActiveLocation(false);
    if (!memory.empty() && FolderExists(memory)) {
      sStartFolder_ = memory;
      SelectVolumeOf(sStartFolder_);
      ShowStartFolder();
    }
  }
  ClearResults();
}

void FilesPanel::optClear_Click(int index) { cmdClear_->setText(asDeleteMode()[static_cast<std::size_t>(index & 1)]); }

// ---- search --------------------------------------------------------------------

bool FilesPanel::searching() const { return runner_->running(); }

void FilesPanel::ClearResults() {
  for (int part = 0; part < 3; ++part) statusBar_.SetText(part, QString());
  model_->Clear();
  cmdClear_->setEnabled(false);
}

WalkOptions FilesPanel::BuildSearchFilter() const {
  WalkOptions options;
  options.start = AddBackslash(sStartFolder_);
  options.clusterSize = lClusterSize_;
  options.threads = std::thread::hardware_concurrency();
  if (automatic()) {
    options.patterns = std::string(kBuiltInPatterns);
    options.includeReadOnly = true;
  } else {
    options.patterns = JoinTicked(lstEstensione_->Entries(), lstEstensione_->Ticks());
    const bool all = chkAttributi_->isChecked();
    options.includeHidden = options.includeSystem = options.includeReadOnly = all;
  }
  return options;
}

void FilesPanel::SetSearchBusy(bool busy) {
  cmdClear_->setEnabled(!busy);
  if (tabLock_) tabLock_(!busy);
  optAuto_[0]->setEnabled(!busy);
  optAuto_[1]->setEnabled(!busy);
  if (!automatic()) {
    optClear_[0]->setEnabled(!busy);
    optClear_[1]->setEnabled(!busy);
    txtFolderStart_->setEnabled(!busy);
    lstEstensione_->setEnabled(!busy);
    chkAttributi_->setEnabled(!busy);
  } else {
    Drive1_->setEnabled(!busy);
  }
  picStop_->setVisible(busy);
  if (busy)
    window()->setCursor(Qt::BusyCursor);
  else
    window()->unsetCursor();
}

void FilesPanel::cmdCerca_Click() {
  if (searching()) {
    runner_->Stop();
    return;
  }
  if (!automatic() && (lstEstensione_->count() == 0 || !lstEstensione_->IsExtensionSelected())) {
    services_.messages->Show(
        QStringLiteral("Per effettuare la ricerca occorre specificare o selezionare almeno una estensione."), 16);
    ClearResults();
    return;
  }
  cmdClear_->setEnabled(false);
  SetSearchBusy(true);
  ClearResults();
  statusBar_.SetText(1, QStringLiteral(" Ricerca in corso..."));
  cmdCerca_->setText(kStopCaption);
  cmdCerca_->setToolTip(kStopTip);
  runner_->Start(BuildSearchFilter());
}

void FilesPanel::OnSearchFinished(const WalkTotals& totals) {
  statusBar_.SetText(0, QStringLiteral(" File: ") + QString::number(model_->rowCount()));
  statusBar_.SetText(1, QStringLiteral(" Dimensione totale file: ") + Kilobytes(totals.totalSize));
  if (lClusterSize_ > 1) statusBar_.SetText(2, QStringLiteral(" Spazio su disco: ") + Kilobytes(totals.onDisk));
  SetSearchBusy(false);
  if (model_->rowCount() == 0) cmdClear_->setEnabled(false);
  cmdCerca_->setText(kSearchCaption);
  cmdCerca_->setToolTip(kSearchTip);
}

void FilesPanel::StopSearch() {
  if (runner_) runner_->Wait();
}

}  // namespace sw
