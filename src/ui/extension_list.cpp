#include "ui/extension_list.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include "core/options.h"
#include "core/patterns.h"
#include "core/text.h"
#include "ui/input_dialog.h"

namespace sw {

namespace {

const char* const kMenuCaptions[] = {"Aggiungi estensione",
                                     "-",
                                     "Elimina estensione",
                                     "-",
                                     "Deseleziona tutto",
                                     "-",
                                     "Ripristina estensioni predefinite"};

}  // namespace

ExtensionList::ExtensionList(Settings& settings, MessageBoxes& messages, QWidget* parent)
    : QListWidget(parent), settings_(settings), messages_(messages), mnuPop_(new QMenu(this)) {
  setObjectName(QStringLiteral("lstEstensione"));
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setContextMenuPolicy(Qt::PreventContextMenu);
  mnuPop_->setObjectName(QStringLiteral("mnuPop"));
  for (int i = 0; i < 7; ++i) {
    const QString caption = QString::fromUtf8(kMenuCaptions[i]);
    QAction* action = caption == QLatin1String("-") ? mnuPop_->addSeparator() : mnuPop_->addAction(caption);
    action->setObjectName(QStringLiteral("listPop%1").arg(i));
    connect(action, &QAction::triggered, this, [this, i] { listPop_Click(i); });
  }
}

void ExtensionList::LoadListExtension(bool automatic) {
  automatic_ = automatic;
  clear();
  const std::string text =
      automatic ? std::string(kBuiltInPatterns) : settings_.Read(options::kFilesExtension, kBuiltInPatterns);
  for (const std::string& entry : SplitPatternList(text)) {
    auto* item = new QListWidgetItem(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())), this);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
  }
}

bool ExtensionList::AddExtensionAndReload(const std::string& extension) {
  const std::string stored = settings_.Read(options::kFilesExtension, kBuiltInPatterns);
  const AddResult result = AddExtension(stored, extension);
  if (!result.text) return false;
  settings_.Save(options::kFilesExtension, *result.text);
  LoadListExtension(automatic_);
  return true;
}

std::vector<std::string> ExtensionList::Entries() const {
  std::vector<std::string> entries;
  for (int i = 0; i < count(); ++i) entries.push_back(item(i)->text().toUtf8().toStdString());
  return entries;
}

std::vector<bool> ExtensionList::Ticks() const {
  std::vector<bool> ticks;
  for (int i = 0; i < count(); ++i) ticks.push_back(item(i)->checkState() == Qt::Checked);
  return ticks;
}

bool ExtensionList::IsExtensionSelected() const {
  for (int i = 0; i < count(); ++i)
    if (item(i)->checkState() == Qt::Checked) return true;
  return false;
}

void ExtensionList::listPop_Click(int index) {
  switch (index) {
    case 0: {
      InputDialog dialog(*this, window());
      dialog.exec();
      break;
    }
    case 2:
      DeleteHighlighted();
      break;
    case 4:
      for (int i = 0; i < count(); ++i) item(i)->setCheckState(Qt::Unchecked);
      break;
    case 6:
      settings_.Save(options::kFilesExtension, kBuiltInPatterns);
      LoadListExtension(automatic_);
      break;
    default:
      break;
  }
}

void ExtensionList::DeleteHighlighted() {
  const int index = currentRow();
  if (index < 0) return;
  const QString text = item(index)->text();
  if (text.isEmpty()) return;
  const QString question =
      QStringLiteral("Confermi l'eliminazione dell'estensione ( ") + text.mid(1) + QStringLiteral(" ) selezionata?");
  if (messages_.Show(question, 35) != kYes) return;
  settings_.Save(options::kFilesExtension, RemoveEntry(Entries(), static_cast<std::size_t>(index)));
  LoadListExtension(automatic_);
}

void ExtensionList::AddFromDroppedPaths(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    const std::string extension = GetExtension(path);
    if (!extension.empty()) AddExtensionAndReload(extension);
  }
}

void ExtensionList::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    // The menu is centred horizontally on the pointer; the highlight stays.
    const QPoint global = event->globalPosition().toPoint();
    const QSize size = mnuPop_->sizeHint();
    mnuPop_->popup(QPoint(global.x() - size.width() / 2, global.y()));
    event->accept();
    return;
  }
  QListWidget::mousePressEvent(event);
}

void ExtensionList::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    listPop_Click(2);
    event->accept();
    return;
  }
  QListWidget::keyReleaseEvent(event);
}

void ExtensionList::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void ExtensionList::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void ExtensionList::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toUtf8().toStdString());
  AddFromDroppedPaths(paths);
  event->acceptProposedAction();
}

Qt::DropActions ExtensionList::supportedDropActions() const { return Qt::CopyAction | Qt::LinkAction; }

}  // namespace sw
