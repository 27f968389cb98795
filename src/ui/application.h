// Process-wide set-up shared by the program and its UI tests. UI thread only.
#pragma once

class QApplication;
class QWidget;

namespace sw {

class MessageBoxes;
class SingleInstance;

// Resources, names, the window font (Liberation Sans 8.25 pt) and the Italian
// translations of Qt's own dialogs.
void InitApplication(QApplication& app);

// Every button, check box and option button of `window` gets the pointing
// hand, the program's sign for "this can be clicked".
void SetControlsPointer(QWidget* window);

// False, after telling the user, when another copy is already running.
bool CheckSingleInstance(SingleInstance& instance, MessageBoxes& messages);

}  // namespace sw
