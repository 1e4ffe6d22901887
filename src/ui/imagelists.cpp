#include "ui/imagelists.h"

#include <QPainter>

#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>

namespace vennic {

namespace {

const QColor FolderFill(0xF2, 0xC9, 0x4C);
const QColor FolderLight(0xFB, 0xE3, 0x8E);
const QColor FolderLine(0x9A, 0x74, 0x12);
const QColor PageLine(0x70, 0x70, 0x70);
const QColor MarkRed(0xD0, 0x10, 0x10);

QImage blank(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

/// A closed folder filling `size` by `size` pixels; `open` lightens the front as if opened.
QImage folder(int size, bool open = false)
{
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 16.0;
    QPainterPath tab;
    tab.moveTo(1 * s, 3 * s);
    tab.lineTo(6 * s, 3 * s);
    tab.lineTo(7.5 * s, 4.5 * s);
    tab.lineTo(14.5 * s, 4.5 * s);
    tab.lineTo(14.5 * s, 13.5 * s);
    tab.lineTo(1 * s, 13.5 * s);
    tab.closeSubpath();
    p.setPen(QPen(FolderLine, std::max<qreal>(1.0, s * 0.9)));
    p.setBrush(FolderFill);
    p.drawPath(tab);
    QPainterPath front;
    if (open) {
        front.moveTo(3 * s, 7 * s);
        front.lineTo(15.5 * s, 7 * s);
        front.lineTo(13.5 * s, 13.5 * s);
        front.lineTo(1 * s, 13.5 * s);
    } else {
        front.addRect(QRectF(1 * s, 6 * s, 13.5 * s, 7.5 * s));
    }
    front.closeSubpath();
    p.setBrush(FolderLight);
    p.drawPath(front);
    return image;
}

/// A page with a folded corner; the large one carries a few text lines.
QImage page(int size)
{
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 16.0;
    QPolygonF outline({QPointF(3 * s, 1 * s), QPointF(10 * s, 1 * s), QPointF(13.5 * s, 4.5 * s),
                       QPointF(13.5 * s, 15 * s), QPointF(3 * s, 15 * s)});
    p.setPen(QPen(PageLine, std::max<qreal>(1.0, s * 0.8)));
    p.setBrush(Qt::white);
    p.drawPolygon(outline);
    p.setBrush(QColor(0xDD, 0xDD, 0xDD));
    p.drawPolygon(
        QPolygonF({QPointF(10 * s, 1 * s), QPointF(10 * s, 4.5 * s), QPointF(13.5 * s, 4.5 * s)}));
    if (size >= 24) {
        p.setPen(QPen(QColor(0x60, 0x80, 0xB0), s * 0.7));
        for (qreal y = 7; y <= 13; y += 2)
            p.drawLine(QPointF(5 * s, y * s), QPointF(11.5 * s, y * s));
    }
    return image;
}

/// The blank mark: a white square with a grey border.
QImage whiteSquare(int size)
{
    QImage image = blank(size);
    QPainter p(&image);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.setBrush(Qt::white);
    p.drawRect(2, 2, size - 5, size - 5);
    return image;
}

/// The delete mark: a dark-red cross on a yellow square.
QImage deleteMark(int size)
{
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x80, 0x80, 0x00));
    p.setBrush(QColor(0xFF, 0xF0, 0x20));
    p.drawRect(QRectF(1.5, 1.5, size - 3, size - 3));
    p.setPen(QPen(QColor(0x8B, 0x00, 0x00), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.5, 4.5), QPointF(size - 4.5, size - 4.5));
    p.drawLine(QPointF(size - 4.5, 4.5), QPointF(4.5, size - 4.5));
    return image;
}

/// The clicked mark: the blank mark with a dark dot in its middle.
QImage dotMark(int size)
{
    QImage image = whiteSquare(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x60, 0x20));
    p.drawEllipse(QPointF(size / 2.0, size / 2.0), size / 6.0, size / 6.0);
    return image;
}

QImage checkMark(int size, const QColor& color)
{
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(3.5, 8.5), QPointF(6.5, 11.5), QPointF(12.5, 4.5)}));
    return image;
}

QImage diamond(int size, const QColor& color)
{
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal m = size / 2.0;
    p.setPen(color.darker(150));
    p.setBrush(color);
    p.drawPolygon(
        QPolygonF({QPointF(m, 2), QPointF(size - 2.0, m), QPointF(m, size - 2.0), QPointF(2, m)}));
    return image;
}

/// A red arrow pointing right, or left when `left`.
QImage arrow(int size, bool left)
{
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF shape({QPointF(1.5, 6), QPointF(8, 6), QPointF(8, 2.5), QPointF(14.5, 8),
                     QPointF(8, 13.5), QPointF(8, 10), QPointF(1.5, 10)});
    if (left)
        for (QPointF& pt : shape)
            pt.setX(size - pt.x());
    p.setPen(QColor(0x80, 0x00, 0x00));
    p.setBrush(MarkRed);
    p.drawPolygon(shape);
    return image;
}

/// A column-header sort triangle: up for ascending, down for descending.
QImage sortTriangle(bool ascending)
{
    QImage image = blank(12);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x50, 0x50, 0x50));
    if (ascending)
        p.drawPolygon(QPolygonF({QPointF(6, 2.5), QPointF(10.5, 9), QPointF(1.5, 9)}));
    else
        p.drawPolygon(QPolygonF({QPointF(1.5, 3), QPointF(10.5, 3), QPointF(6, 9.5)}));
    return image;
}

/// A hard-disk drive.
QImage drivePicture(int size)
{
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 16.0;
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), s * 0.8));
    p.setBrush(QColor(0xC8, 0xC8, 0xC8));
    p.drawRoundedRect(QRectF(1 * s, 5 * s, 14 * s, 7 * s), s, s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0xB0, 0x20));
    p.drawEllipse(QPointF(12.5 * s, 9.5 * s), s, s);
    return image;
}

/// The up-one-level picture: a dark arrow bending up and to the left.
QImage upArrowPicture()
{
    QImage image = blank(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolyline(QPolygonF({QPointF(13, 13), QPointF(7, 13), QPointF(7, 6)}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x10, 0x10));
    p.drawPolygon(QPolygonF({QPointF(7, 1.5), QPointF(12, 7), QPointF(2, 7)}));
    return image;
}

} // namespace

/// `picture` with a link's emblem in its lower left corner: a white square with an arrow
/// that leaves it upwards to the right.
static QImage withLinkEmblem(QImage picture)
{
    const int side = std::max(7, picture.width() / 2);
    const QRectF box(0.5, picture.height() - side + 0.5, side - 1, side - 1);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    const qreal inset = side / 4.0;
    const QPointF from(box.left() + inset, box.bottom() - inset);
    const QPointF to(box.right() - inset, box.top() + inset);
    painter.setPen(QPen(QColor(0x10, 0x40, 0xA0), std::max(1.0, side / 7.0)));
    painter.drawLine(from, to);
    painter.drawLine(to, QPointF(to.x() - inset, to.y()));
    painter.drawLine(to, QPointF(to.x(), to.y() + inset));
    return picture;
}

const ImageLists& ImageLists::instance()
{
    static const ImageLists lists;
    return lists;
}

ImageLists::ImageLists()
{
    const QImage small[SmallCount + 1] = {QImage(),
                                          page(16),
                                          folder(16),
                                          folder(16, true),
                                          whiteSquare(16),
                                          checkMark(16, QColor(0x10, 0x90, 0x10)),
                                          diamond(16, QColor(0x40, 0x70, 0xD0)),
                                          deleteMark(16),
                                          dotMark(16),
                                          arrow(16, false),
                                          arrow(16, true)};
    for (int i = 1; i <= SmallCount; ++i) {
        m_small[size_t(i)] = QPixmap::fromImage(small[i]);
        m_smallIcons[size_t(i)] = QIcon(m_small[size_t(i)]);
        m_smallLinkIcons[size_t(i)] = QIcon(QPixmap::fromImage(withLinkEmblem(small[i])));
    }
    const QImage large[LargeCount + 1] = {QImage(), page(32), drivePicture(32), folder(32)};
    for (int i = 1; i <= LargeCount; ++i) {
        m_large[size_t(i)] = QPixmap::fromImage(large[i]);
        m_largeIcons[size_t(i)] = QIcon(m_large[size_t(i)]);
        m_largeLinkIcons[size_t(i)] = QIcon(QPixmap::fromImage(withLinkEmblem(large[i])));
    }
    for (int i = 1; i <= HeaderCount; ++i) {
        m_header[size_t(i)] = QPixmap::fromImage(sortTriangle(i == 1));
        m_headerIcons[size_t(i)] = QIcon(m_header[size_t(i)]);
    }
    m_upArrow = QPixmap::fromImage(upArrowPicture());
    m_smallIconImage = small[2];
}

QPixmap ImageLists::ImageList1(int n) const
{
    return n >= 1 && n <= SmallCount ? m_small[size_t(n)] : QPixmap();
}

QPixmap ImageLists::ImageList2(int n) const
{
    return n >= 1 && n <= LargeCount ? m_large[size_t(n)] : QPixmap();
}

QPixmap ImageLists::CHIcons(int n) const
{
    return n >= 1 && n <= HeaderCount ? m_header[size_t(n)] : QPixmap();
}

const QIcon& ImageLists::smallIcon(int n) const
{
    return n >= 1 && n <= SmallCount ? m_smallIcons[size_t(n)] : m_noIcon;
}

const QIcon& ImageLists::smallLinkIcon(int n) const
{
    return n >= 1 && n <= SmallCount ? m_smallLinkIcons[size_t(n)] : m_noIcon;
}

const QIcon& ImageLists::largeLinkIcon(int n) const
{
    return n >= 1 && n <= LargeCount ? m_largeLinkIcons[size_t(n)] : m_noIcon;
}

const QIcon& ImageLists::largeIcon(int n) const
{
    return n >= 1 && n <= LargeCount ? m_largeIcons[size_t(n)] : m_noIcon;
}

const QIcon& ImageLists::headerIcon(int n) const
{
    return n >= 1 && n <= HeaderCount ? m_headerIcons[size_t(n)] : m_noIcon;
}

} // namespace vennic
