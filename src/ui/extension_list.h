// The pattern list of the Files tab (lstEstensione): one ticked entry per
// stored pattern, its context menu (mnuPop), the Delete key, files dropped from
// the file manager, and the add-extension dialog. It reads and writes the
// setting "FilesExtension" through the injected Settings. UI thread only.
#pragma once

#include <QListWidget>
#include <string>
#include <vector>

#include "platform/services.h"

class QMenu;

namespace sw {

class ExtensionList : public QListWidget {
  Q_OBJECT
 public:
  ExtensionList(Settings& settings, MessageBoxes& messages, QWidget* parent = nullptr);

  // Refills the list from the built-in patterns (automatic cleaning) or the
  // stored ones, every entry ticked.
  void LoadListExtension(bool automatic);
  bool automatic() const { return automatic_; }

  // Appends an extension to the stored list (see sw::AddExtension) and, when
  // it was added, reloads. Returns whether it was added.
  bool AddExtensionAndReload(const std::string& extension);

  std::vector<std::string> Entries() const;
  std::vector<bool> Ticks() const;
  bool IsExtensionSelected() const;

  // Menu commands by index of mnuPop: 0 add, 2 delete, 4 untick all, 6 restore.
  void listPop_Click(int index);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  Qt::DropActions supportedDropActions() const override;

 private:
  void DeleteHighlighted();
  void AddFromDroppedPaths(const std::vector<std::string>& paths);

  Settings& settings_;
  MessageBoxes& messages_;
  QMenu* mnuPop_;
  bool automatic_ = true;

  friend class ExtensionListTest;
};

}  // namespace sw
