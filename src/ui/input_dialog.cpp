#include "ui/input_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text.h"
#include "ui/application.h"
#include "ui/extension_list.h"

namespace sw {

InputDialog::InputDialog(ExtensionList& list, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      list_(list),
      lblDescript_(new QLabel(this)),
      txtEstensione_(new QLineEdit(this)),
      cmdSave_(new QPushButton(QStringLiteral("Salva"), this)),
      cmdChiudi_(new QPushButton(QStringLiteral("Esci"), this)) {
  setObjectName(QStringLiteral("frmInput"));
  setWindowTitle(QStringLiteral("Form1"));
  setModal(true);
  lblDescript_->setObjectName(QStringLiteral("lblDescript"));
  lblDescript_->setText(QStringLiteral("Digitare l'estensione\n(esempio: tmp,old, xyz)\nda aggiungere alla lista."));
  txtEstensione_->setObjectName(QStringLiteral("txtEstensione"));
  txtEstensione_->setAccessibleName(QStringLiteral("Estensione da aggiungere"));
  cmdSave_->setObjectName(QStringLiteral("cmdSave"));
  cmdChiudi_->setObjectName(QStringLiteral("cmdChiudi"));
  cmdChiudi_->setAutoDefault(false);
  cmdSave_->setDefault(true);
  SetControlsPointer(this);

  auto* image = new QLabel(this);
  image->setObjectName(QStringLiteral("Image1"));
  image->setPixmap(QPixmap(QStringLiteral(":/icons/input.png")));
  image->setFixedSize(32, 32);
  image->setAccessibleName(QStringLiteral("Icona"));

  auto* top = new QHBoxLayout;
  top->addWidget(image, 0, Qt::AlignTop);
  top->addWidget(lblDescript_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdSave_);
  buttons->addWidget(cmdChiudi_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(txtEstensione_);
  layout->addLayout(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(300, 0)));

  connect(cmdSave_, &QPushButton::clicked, this, &InputDialog::cmdSave_Click);
  connect(cmdChiudi_, &QPushButton::clicked, this, &QDialog::accept);
}

void InputDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  txtEstensione_->setFocus();
}

void InputDialog::cmdSave_Click() {
  const QString text = txtEstensione_->text();
  if (!text.isEmpty()) list_.AddExtensionAndReload(RemoveDots(text.toUtf8().toStdString()));
  txtEstensione_->clear();
  txtEstensione_->setFocus();
}

}  // namespace sw
