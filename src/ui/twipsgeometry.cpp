#include "ui/twipsgeometry.h"

#include "shell/twips.h"

#include <QWidget>

namespace vennic {

void setGeometryTwips(QWidget* widget, double left, double top, double width, double height)
{
    const double dpiX = widget->logicalDpiX();
    const double dpiY = widget->logicalDpiY();
    widget->setGeometry(twipsToPixels(left, dpiX), twipsToPixels(top, dpiY),
                        twipsToPixels(width, dpiX), twipsToPixels(height, dpiY));
}

} // namespace vennic
