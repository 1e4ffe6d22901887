#include "listing/listinteraction.h"

#include "platform/pathrules.h"

#include <gtest/gtest.h>

using namespace vennic;

namespace {

PaneRow savedRow()
{
    PaneRow row;
    row.texts = std::make_unique<RowTexts>();
    return row;
}

} // namespace

TEST(ListInteraction, ViewerCaptionFollowsTheTypeTextInUpperCase)
{
    EXPECT_EQ(viewerCaption(QStringLiteral("dwg")), QStringLiteral("AutoCAD"));
    EXPECT_EQ(viewerCaption(QStringLiteral("Bmp")), QStringLiteral("Paint"));
    EXPECT_EQ(viewerCaption(QStringLiteral("GIF")), QStringLiteral("Paint"));
    // Only the whole type text counts.
    EXPECT_EQ(viewerCaption(QStringLiteral("GIF image")), QStringLiteral("UnKnown"));
    EXPECT_EQ(viewerCaption(QStringLiteral(" File Folder")), QStringLiteral("UnKnown"));
    EXPECT_EQ(viewerCaption({}), QStringLiteral("UnKnown"));
}

TEST(ListInteraction, MarkTurnsRedThenBlackWithTheClickedImage)
{
    const RowMark first = toggledMark(RowColor::Blue);
    EXPECT_EQ(first.foreColor, RowColor::Red);
    EXPECT_FALSE(first.smallImage.has_value());
    const RowMark second = toggledMark(first.foreColor);
    EXPECT_EQ(second.foreColor, RowColor::Black);
    EXPECT_EQ(second.smallImage, 8);
    EXPECT_EQ(toggledMark(second.foreColor).foreColor, RowColor::Red);
}

TEST(ListInteraction, ListedRowsUseTheirNativeNameInBothPathStyles)
{
    PaneRow listed;
    listed.nativeName = "caf\xe9";
    const PathRules posix(PathStyle::Posix);
    EXPECT_EQ(rowEntryPath(listed, QStringLiteral("caf\uFFFD"), "/data", posix),
              std::optional<NativeString>("/data/caf\xe9"));
    EXPECT_EQ(rowEntryPath(listed, {}, "/", posix), std::optional<NativeString>("/caf\xe9"));
    EXPECT_EQ(rowEntryPath(listed, {}, "/data/", posix),
              std::optional<NativeString>("/data/caf\xe9"));
    const PathRules windows(PathStyle::Windows);
    EXPECT_EQ(rowEntryPath(listed, {}, "C:\\Data", windows),
              std::optional<NativeString>("C:\\Data\\caf\xe9"));
    EXPECT_EQ(rowEntryPath(listed, {}, "C:\\", windows),
              std::optional<NativeString>("C:\\caf\xe9"));
}

TEST(ListInteraction, TextRowsBecomePathsOnlyWhenTheyAreOnePlainName)
{
    const PathRules posix(PathStyle::Posix);
    const PaneRow row = savedRow();
    EXPECT_EQ(rowEntryPath(row, QStringLiteral("report.txt"), "/data", posix),
              std::optional<NativeString>("/data/report.txt"));
    EXPECT_EQ(rowEntryPath(row, QStringLiteral("caf\u00e9"), "/data", posix),
              std::optional<NativeString>("/data/caf\xc3\xa9"))
        << "a typed name is spelled in UTF-8";
    for (const char* bad : {"", " ", ".", "..", "a/b", "/etc"})
        EXPECT_FALSE(rowEntryPath(row, QString::fromLatin1(bad), "/data", posix)) << bad;
    const PathRules windows(PathStyle::Windows);
    for (const char* bad : {"a\\b", "D:x"})
        EXPECT_FALSE(rowEntryPath(row, QString::fromLatin1(bad), "C:\\", windows)) << bad;
}

TEST(ListInteraction, TypedOrSavedNamesWithAControlCharacterAndEmptyFoldersBecomeNoPath)
{
    const PathRules posix(PathStyle::Posix);
    const PaneRow row = savedRow();
    // The system calls would stop at U+0000 and act on "keep.txt".
    const QString withNul = QStringLiteral("keep.txt") + QChar(0) + QStringLiteral(" (copy)");
    for (const QString& bad : {withNul, QStringLiteral("a\nb"), QStringLiteral("tab\there"),
                               QStringLiteral("del\x7f"), QString(QChar(0))})
        EXPECT_FALSE(rowEntryPath(row, bad, "/data", posix)) << bad.toStdString();
    // A name the folder's own listing gave is the entry's, control bytes and all; a row that
    // stands for nothing names nothing, whatever its text.
    PaneRow listed;
    listed.nativeName = std::string("line\nbreak");
    EXPECT_EQ(rowEntryPath(listed, {}, "/da\x01ta", posix),
              std::optional<NativeString>("/da\x01ta/line\nbreak"));
    PaneRow placeholder = savedRow();
    placeholder.flags |= PaneRow::Placeholder;
    EXPECT_FALSE(rowEntryName(placeholder, QStringLiteral("--"), posix));

    // An empty folder would make the path relative to the working folder.
    EXPECT_FALSE(rowEntryPath(row, QStringLiteral("report.txt"), "", posix));
    EXPECT_FALSE(
        rowEntryPath(row, QStringLiteral("report.txt"), std::string("/data\0/x", 8), posix));
    EXPECT_EQ(rowEntryName(row, QStringLiteral("report.txt"), posix),
              std::optional<NativeString>("report.txt"));
}
