#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <array>

namespace vennic {

/// The program's pictures, drawn in code once: `ImageList1` (16 by 16, images 1 to 10: 2 a
/// folder, 4 "CKBLANK" the blank mark, 7 the delete mark, 8 the clicked mark, 9 and 10 the copy
/// marks), `ImageList2` (32 by 32: 1 a file, 3 "CI2" a folder), `CHIcons` (1 ascending and
/// 2 descending sort icons) and `SmallIconImage`. Needs a QGuiApplication.
class ImageLists {
public:
    static constexpr int SmallCount = 10;
    static constexpr int LargeCount = 3;
    static constexpr int HeaderCount = 2;

    /// The one set of image lists of the program, made on first use.
    static const ImageLists& instance();

    /// Image `n` (1-based) of `ImageList1`; a null pixmap for a number out of range.
    QPixmap ImageList1(int n) const;
    /// Image `n` (1-based) of `ImageList2`.
    QPixmap ImageList2(int n) const;
    /// Sort icon `n` (1 ascending, 2 descending) of `CHIcons`.
    QPixmap CHIcons(int n) const;
    /// The icon versions of the same pictures, for the views (no icon for an empty number).
    const QIcon& smallIcon(int n) const;
    const QIcon& largeIcon(int n) const;
    const QIcon& headerIcon(int n) const;
    /// The same icons with the emblem of a symbolic link in their lower left corner.
    const QIcon& smallLinkIcon(int n) const;
    const QIcon& largeLinkIcon(int n) const;
    /// The picture of the up-one-level buttons.
    QPixmap upArrow() const { return m_upArrow; }
    /// The 16 by 16 folder picture as an image, for printing.
    QImage SmallIconImage() const { return m_smallIconImage; }

private:
    ImageLists();

    std::array<QPixmap, SmallCount + 1> m_small;
    std::array<QPixmap, LargeCount + 1> m_large;
    std::array<QPixmap, HeaderCount + 1> m_header;
    std::array<QIcon, SmallCount + 1> m_smallIcons;
    std::array<QIcon, LargeCount + 1> m_largeIcons;
    std::array<QIcon, HeaderCount + 1> m_headerIcons;
    std::array<QIcon, SmallCount + 1> m_smallLinkIcons;
    std::array<QIcon, LargeCount + 1> m_largeLinkIcons;
    QIcon m_noIcon;
    QPixmap m_upArrow;
    QImage m_smallIconImage;
};

} // namespace vennic
