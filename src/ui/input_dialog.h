// frmInput: the small modal dialog in which the user types extensions to add
// to the stored pattern list. Each "Salva" adds one and reloads the list in the
// main window at once; the dialog stays open until "Esci". UI thread only.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace sw {

class ExtensionList;

class InputDialog : public QDialog {
  Q_OBJECT
 public:
  InputDialog(ExtensionList& list, QWidget* owner);

  void cmdSave_Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ExtensionList& list_;
  QLabel* lblDescript_;
  QLineEdit* txtEstensione_;
  QPushButton* cmdSave_;
  QPushButton* cmdChiudi_;
};

}  // namespace sw
