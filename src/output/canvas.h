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
    /// Values of `Orientation`.
    static constexpr int Portrait = 1;
    static constexpr int Landscape = 2;

    virtual ~Canvas() = default;

    /// The page orientation, `Portrait` or `Landscape`; surfaces without pages keep theirs.
    virtual int Orientation() const = 0;
    virtual void setOrientation(int orientation) = 0;

    virtual QString FontName() const = 0;
    virtual void setFontName(const QString& name) = 0;
    virtual double FontSize() const = 0;
    virtual void setFontSize(double points) = 0;
    virtual bool FontBold() const = 0;
    virtual void setFontBold(bool bold) = 0;
    /// Whether texts print in the condensed face of the font's family, for a text that needs
    /// to be narrower than its column leaves room for. Where no condensed face of the family is
    /// installed, setting it changes nothing and it stays false.
    virtual bool FontCondensed() const = 0;
    virtual void setFontCondensed(bool condensed) = 0;
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
    /// Prints a text at the current position and leaves the position just after it, so the
    /// line goes on.
    virtual void PrintOn(const QString& text) = 0;
    virtual double TextWidth(const QString& text) const = 0;
    virtual double TextHeight(const QString& text) const = 0;
    /// Draws a picture with its top-left corner at (x, y), stretched to width by height twips.
    virtual void PaintPicture(const QImage& picture, double x, double y, double width,
                              double height) = 0;
    /// Draws a picture at its own size, one picture pixel being 15 twips (a 96-dpi screen pixel).
    virtual void PaintPicture(const QImage& picture, double x, double y)
    {
        PaintPicture(picture, x, y, picture.width() * 15.0, picture.height() * 15.0);
    }
    /// Draws a straight line and leaves the current position at its end point.
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    /// Ends the job; the next output starts a new one.
    virtual void EndDoc() = 0;
};

} // namespace vennic
