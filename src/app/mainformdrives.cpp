// The main window's drive information, file attributes and About commands.
#include "app/mainform.h"

namespace vennic {

void MainForm::connectDrives() {}

bool MainForm::drivesEvent(QObject*, QEvent*) { return false; }

} // namespace vennic
