#pragma once

#include "output/canvas.h"

#include <vector>

namespace vennic {

/// A Canvas that draws nothing and records every text, picture, rule, page and job end with
/// where it went and the font and colour it was drawn in, so a layout can be checked without a
/// printer. Text widths are plain arithmetic (each character half an em wide) and a text line
/// is 1.2 em high, so positions come out the same on every machine. Pages follow the printer's
/// rule: a text line, or a picture, that would pass the bottom starts a new page. Its fonts
/// have a condensed face, whose characters are four tenths of an em wide, unless told not to.
class RecordingCanvas : public Canvas {
public:
    /// One recorded call.
    struct Call {
        enum Kind { Text, Picture, Rule, NewPage, EndDoc, SetOrientation };
        Kind kind = Text;
        QString text;          ///< Text: what was printed
        bool endsLine = false; ///< Text: printed with `Print` rather than `PrintOn`
        double x = 0, y = 0;   ///< Text, Picture: top-left corner; Rule: start
        double x2 = 0, y2 = 0; ///< Rule: end; Picture: width and height
        QString fontName;
        double fontSize = 0;
        bool bold = false;
        bool condensed = false; ///< drawn in the condensed face
        uint32_t color = 0;
        int page = 1;        ///< the page of the job the call fell on
        int orientation = 0; ///< SetOrientation: the value set
    };

    /// A canvas whose upright printable page is `width` by `height` twips; landscape swaps them.
    /// The default is a letter sheet with quarter-inch margins.
    explicit RecordingCanvas(double width = 11520, double height = 15120);

    const std::vector<Call>& calls() const { return m_calls; }
    void clear() { m_calls.clear(); }
    /// The recorded calls of one kind, in order.
    std::vector<Call> callsOf(Call::Kind kind) const;
    /// The first text call that printed exactly `text`; null when none did.
    const Call* findText(const QString& text) const;

    int Orientation() const override { return m_orientation; }
    void setOrientation(int orientation) override;
    QString FontName() const override { return m_fontName; }
    void setFontName(const QString& name) override { m_fontName = name; }
    double FontSize() const override { return m_fontSize; }
    void setFontSize(double points) override { m_fontSize = points; }
    bool FontBold() const override { return m_bold; }
    void setFontBold(bool bold) override { m_bold = bold; }
    bool FontCondensed() const override { return m_condensed; }
    void setFontCondensed(bool condensed) override { m_condensed = condensed && m_hasCondensed; }
    /// Whether the fonts have a condensed face (they have at start).
    void setHasCondensedFace(bool has);
    uint32_t ForeColor() const override { return m_color; }
    void setForeColor(uint32_t color) override { m_color = color; }
    double CurrentX() const override { return m_x; }
    void setCurrentX(double x) override { m_x = x; }
    double CurrentY() const override { return m_y; }
    void setCurrentY(double y) override { m_y = y; }
    double ScaleWidth() const override;
    double ScaleHeight() const override;
    void Print(const QString& text) override { printText(text, true); }
    void PrintOn(const QString& text) override { printText(text, false); }
    double TextWidth(const QString& text) const override;
    double TextHeight(const QString& text) const override;
    using Canvas::PaintPicture;
    void PaintPicture(const QImage& picture, double x, double y, double width,
                      double height) override;
    void Line(double x1, double y1, double x2, double y2) override;
    void EndDoc() override;

private:
    void printText(const QString& text, bool endLine);
    Call stateCall(Call::Kind kind) const;
    void newPage();

    std::vector<Call> m_calls;
    double m_width;
    double m_height;
    int m_orientation = Portrait;
    QString m_fontName = QStringLiteral("Sans");
    double m_fontSize = 8;
    bool m_bold = false;
    bool m_condensed = false;
    bool m_hasCondensed = true;
    uint32_t m_color = 0;
    double m_x = 0;
    double m_y = 0;
    int m_page = 1;
    bool m_pageUsed = false;
};

} // namespace vennic
