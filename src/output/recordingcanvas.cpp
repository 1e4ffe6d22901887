#include "output/recordingcanvas.h"

namespace vennic {

RecordingCanvas::RecordingCanvas(double width, double height) : m_width(width), m_height(height) {}

std::vector<RecordingCanvas::Call> RecordingCanvas::callsOf(Call::Kind kind) const
{
    std::vector<Call> found;
    for (const Call& call : m_calls)
        if (call.kind == kind)
            found.push_back(call);
    return found;
}

const RecordingCanvas::Call* RecordingCanvas::findText(const QString& text) const
{
    for (const Call& call : m_calls)
        if (call.kind == Call::Text && call.text == text)
            return &call;
    return nullptr;
}

void RecordingCanvas::setOrientation(int orientation)
{
    m_orientation = orientation;
    Call call = stateCall(Call::SetOrientation);
    call.orientation = orientation;
    m_calls.push_back(call);
}

double RecordingCanvas::ScaleWidth() const
{
    return m_orientation == Landscape ? m_height : m_width;
}

double RecordingCanvas::ScaleHeight() const
{
    return m_orientation == Landscape ? m_width : m_height;
}

void RecordingCanvas::setHasCondensedFace(bool has)
{
    m_hasCondensed = has;
    m_condensed = m_condensed && has;
}

double RecordingCanvas::TextWidth(const QString& text) const
{
    // Half an em per character, four tenths in the condensed face; an em is the font size in
    // points, 20 twips each.
    return text.size() * m_fontSize * (m_condensed ? 8 : 10);
}

double RecordingCanvas::TextHeight(const QString&) const
{
    return m_fontSize * 24;
}

void RecordingCanvas::printText(const QString& text, bool endLine)
{
    if (m_pageUsed && m_y + TextHeight(text) > ScaleHeight())
        newPage();
    Call call = stateCall(Call::Text);
    call.text = text;
    call.endsLine = endLine;
    m_calls.push_back(call);
    m_pageUsed = true;
    if (endLine) {
        m_x = 0;
        m_y += TextHeight(text);
    } else {
        m_x += TextWidth(text);
    }
}

void RecordingCanvas::PaintPicture(const QImage&, double x, double y, double width, double height)
{
    if (m_pageUsed && y + height > ScaleHeight()) {
        // The picture moves with the current line, as on the printer.
        y -= m_y;
        newPage();
    }
    Call call = stateCall(Call::Picture);
    call.x = x;
    call.y = y;
    call.x2 = width;
    call.y2 = height;
    m_calls.push_back(call);
    m_pageUsed = true;
}

void RecordingCanvas::Line(double x1, double y1, double x2, double y2)
{
    Call call = stateCall(Call::Rule);
    call.x = x1;
    call.y = y1;
    call.x2 = x2;
    call.y2 = y2;
    m_calls.push_back(call);
    m_pageUsed = true;
    m_x = x2;
    m_y = y2;
}

void RecordingCanvas::EndDoc()
{
    m_calls.push_back(stateCall(Call::EndDoc));
    m_x = m_y = 0;
    m_page = 1;
    m_pageUsed = false;
}

RecordingCanvas::Call RecordingCanvas::stateCall(Call::Kind kind) const
{
    Call call;
    call.kind = kind;
    call.x = m_x;
    call.y = m_y;
    call.fontName = m_fontName;
    call.fontSize = m_fontSize;
    call.bold = m_bold;
    call.condensed = m_condensed;
    call.color = m_color;
    call.page = m_page;
    return call;
}

void RecordingCanvas::newPage()
{
    ++m_page;
    m_y = 0;
    m_calls.push_back(stateCall(Call::NewPage));
}

} // namespace vennic
