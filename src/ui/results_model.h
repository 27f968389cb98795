// The results of a search (LstPercorsoCompleto's model): one record per file
// found, in the order found, each with the tick that decides whether the
// delete command takes it. Holds a million entries cheaply: a plain vector of
// records, texts made only when a row is painted. UI thread only.
#pragma once

#include <sys/types.h>

#include <QAbstractListModel>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <cstdint>
#include <string>
#include <vector>

namespace sw {

struct FoundFile;

struct ResultEntry {
  std::string path;  // exact bytes, as found
  std::uint64_t size = 0;
  dev_t dev = 0;
  ino_t ino = 0;
  bool ticked = true;
};

class ResultsModel : public QAbstractListModel {
  Q_OBJECT
 public:
  using QAbstractListModel::QAbstractListModel;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Appends a batch as new rows, all ticked.
  void Append(std::vector<FoundFile>&& batch);
  void Clear();
  void UntickAll();

  const std::vector<ResultEntry>& entries() const { return entries_; }

 private:
  std::vector<ResultEntry> entries_;
};

// Paints each row's path shortened to fit 0.8 of the list's width.
class CompactPathDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

// LstPercorsoCompleto: a one-column tree view, because its uniform-row layout
// stays cheap with a million rows while results keep arriving.
class ResultsView : public QTreeView {
  Q_OBJECT
 public:
  explicit ResultsView(QWidget* parent = nullptr);
};

}  // namespace sw
