// The " Informazioni" tab (picTab(2)): title, version, description,
// disclaimer, the confirmation option (chkConferma, setting
// "MessageConfirmation"), the guide button and the author's links. The guide
// is written from the program's resources into the temporary folder and
// opened in the browser; the file is removed by RemoveGuide() at close.
// UI thread only.
#pragma once

#include <QWidget>
#include <string>

#include "platform/services.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace sw {

class InfoPanel : public QWidget {
  Q_OBJECT
 public:
  static const QString kEmail;
  static const QString kHomePage;
  static const QString kSite;

  InfoPanel(const Services& services, QWidget* parent = nullptr);

  // Fills the texts and ticks chkConferma from the confirmation flag.
  void ShowInfo(bool messageConfirmation);
  bool messageConfirmation() const { return bMessageConfirmation_; }

  void ShowGuide();
  void lblEmail_Click();
  void lblHomePage_Click();
  void imgLogo_Click();

  bool helpShown() const { return bHelpShown_; }
  // Path of the guide page in the temporary folder.
  static std::string GuidePath();
  // Deletes the guide page if this run showed it and it is still our file.
  void RemoveGuide();

 signals:
  // The home-page links end the program after opening the page.
  void closeRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Services services_;
  bool bMessageConfirmation_ = true;
  bool bHelpShown_ = false;
  QLabel* lbltitolo_;
  QLabel* lblVersione_;
  QLabel* lblDescrizione_;
  QLabel* lblEmail_;
  QLabel* lblHomePage_;
  QLabel* imgLogo_;
  QLabel* lblWarning_;
  QCheckBox* chkConferma_;
  QPushButton* cmdStampa_;
};

}  // namespace sw
