#pragma once

#include <QImage>
#include <QString>

#include <cstdint>

namespace vennic {

/// The drawing surface of printed listings, in twips (1,440 to the inch): x = 0 is the left
/// edge of the printable area and `ScaleWidth` its width. A text line that would pass the
/// bottom starts a new page. The printer, the on-screen preview and a recording canvas for
/// tests implement it, so one drawing routine serves all three.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual QString FontName() const = 0;
    virtual void setFontName(const QString& name) = 0;
    virtual double FontSize() const = 0;
    virtual void setFontSize(double points) = 0;
    virtual bool FontBold() const = 0;
    virtual void setFontBold(bool bold) = 0;
    /// Colour in blue-green-red byte order.
    virtual uint32_t ForeColor() const = 0;
    virtual void setForeColor(uint32_t color) = 0;
    virtual double CurrentX() const = 0;
    virtual void setCurrentX(double x) = 0;
    virtual double CurrentY() const = 0;
    virtual void setCurrentY(double y) = 0;
    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;
    /// Prints a text at the current position and moves to the start of the next line.
    virtual void Print(const QString& text) = 0;
    virtual double TextWidth(const QString& text) const = 0;
    virtual double TextHeight(const QString& text) const = 0;
    virtual void PaintPicture(const QImage& picture, double x, double y) = 0;
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    /// Ends the job; the next output starts a new one.
    virtual void EndDoc() = 0;
};

} // namespace vennic
