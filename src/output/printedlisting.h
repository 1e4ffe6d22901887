#pragma once

#include <QImage>
#include <QString>

namespace vennic {

class PaneList;

/// What a print of a pane reads from the window, as plain values: the pane's rows, its path
/// box and count label texts, the list's font and the folder picture with its control's size.
struct PrintedListing {
    const PaneList* rows = nullptr; ///< the active pane's list (`LV1`); null prints no rows
    QString path;                   ///< the path box text (`LVPATH`)
    QString count;                  ///< the count label caption (`LVFC`)
    QString fontName;               ///< the list's font name
    double fontSize = 8.25;         ///< the list's font size in points
    QImage folderPicture;           ///< `SmallIconImage`, drawn on folder rows
    double pictureWidth = 240;      ///< the picture control's size in twips
    double pictureHeight = 240;
};

} // namespace vennic
