// The main window's file commands: marks, copy, delete, delete all, the column alignment, the
// right pane's rebuild and the folder comparison.
#include "app/mainform.h"

namespace vennic {

void MainForm::connectFileOps() {}

} // namespace vennic
