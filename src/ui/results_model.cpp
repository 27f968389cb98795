#include "ui/results_model.h"

#include "core/walk.h"
#include "platform/services.h"
#include "ui/drawing.h"

namespace sw {

int ResultsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(entries_.size())) return {};
  const ResultEntry& entry = entries_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return DisplayPath(entry.path);
    case Qt::CheckStateRole:
      return entry.ticked ? Qt::Checked : Qt::Unchecked;
    default:
      return {};
  }
}

bool ResultsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::CheckStateRole) return false;
  entries_[static_cast<std::size_t>(index.row())].ticked = value.toInt() == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

Qt::ItemFlags ResultsModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren;
}

void ResultsModel::Append(std::vector<FoundFile>&& batch) {
  if (batch.empty()) return;
  const int first = static_cast<int>(entries_.size());
  beginInsertRows({}, first, first + static_cast<int>(batch.size()) - 1);
  entries_.reserve(entries_.size() + batch.size());
  for (FoundFile& file : batch) entries_.push_back({std::move(file.path), file.size, file.dev, file.ino, true});
  endInsertRows();
}

void ResultsModel::Clear() {
  beginResetModel();
  entries_.clear();
  entries_.shrink_to_fit();
  endResetModel();
}

void ResultsModel::UntickAll() {
  for (ResultEntry& entry : entries_) entry.ticked = false;
  if (!entries_.empty()) emit dataChanged(index(0), index(static_cast<int>(entries_.size()) - 1), {Qt::CheckStateRole});
}

void CompactPathDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const QWidget* view = option->widget;
  if (view) option->text = CompactPathForWidth(QFontMetricsF(option->font), 0.8 * view->width(), option->text);
  option->textElideMode = Qt::ElideNone;
}

ResultsView::ResultsView(QWidget* parent) : QTreeView(parent) {
  setObjectName(QStringLiteral("LstPercorsoCompleto"));
  setAccessibleName(QStringLiteral("File trovati"));
  setHeaderHidden(true);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  // Every row has the same height; without this a million rows are measured one by one.
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setItemDelegate(new CompactPathDelegate(this));
}

}  // namespace sw
