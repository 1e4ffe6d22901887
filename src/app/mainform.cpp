#include "app/mainform.h"

namespace vennic {

MainForm::MainForm(QWidget* parent) : QMainWindow(parent) {}

} // namespace vennic
