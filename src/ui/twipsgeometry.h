#pragma once

class QWidget;

namespace vennic {

/// Places a control at a design position given in twips, converted at its screen's resolution
/// through the one twips-to-pixels conversion.
void setGeometryTwips(QWidget* widget, double left, double top, double width, double height);

} // namespace vennic
