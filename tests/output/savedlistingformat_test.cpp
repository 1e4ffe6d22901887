#include "output/savedlistingformat.h"

#include <QStringDecoder>
#include <QStringList>
#include <gtest/gtest.h>

#include <array>

namespace vennic {
namespace {

QByteArray lineOf(std::initializer_list<QString> fields, int* changed = nullptr)
{
    const std::vector<QString> list(fields);
    QByteArray out;
    const int n = SavedListingFormat::appendLine(out, list);
    if (changed)
        *changed = n;
    return out;
}

QStringList cellsOf(const PaneRow& row)
{
    QStringList cells;
    for (const QString& c : row.texts->cells)
        cells << c;
    return cells;
}

TEST(SavedListingFormat, LineJoinsFieldsWithCode2AndEndsInCrLf)
{
    int changed = -1;
    const QByteArray line =
        lineOf({QStringLiteral("a.txt"), QStringLiteral("Text"), QStringLiteral("    1,234"),
                QString(), QString(), QStringLiteral("x"), QStringLiteral("caf\u00e9")},
               &changed);
    EXPECT_EQ(line, QByteArray("a.txt\x02Text\x02    1,234\x02\x02\x02x\x02"
                               "caf\xc3\xa9\r\n"));
    EXPECT_EQ(changed, 0);
}

TEST(SavedListingFormat, LineBreaksAndSeparatorsInTextsBecomeQuestionMarks)
{
    int changed = 0;
    const QByteArray line = lineOf({QStringLiteral("a\r\nb"), QStringLiteral("plain"),
                                    QStringLiteral("x\x02y"), QStringLiteral("\n")},
                                   &changed);
    EXPECT_EQ(line, QByteArray("a??b\x02plain\x02x?y\x02?\r\n"));
    EXPECT_EQ(changed, 3); // texts, not characters
}

TEST(SavedListingFormat, ParsesPathCountAndRows)
{
    const auto listing = SavedListingFormat::parse(
        "/home/ann\r\n2 Folders 1 File\r\nsub\x02 File Folder\x02\x02"
        "1/2/2020\x02\x44\x02\x02\r\nf.txt\x02Text\x02 9\x02\x02\x02\x02\r\n");
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing->pathText, QStringLiteral("/home/ann"));
    EXPECT_EQ(listing->countText, QStringLiteral("2 Folders 1 File"));
    ASSERT_EQ(listing->rows.size(), 2u);
    const PaneRow& folder = listing->rows[0];
    EXPECT_EQ(cellsOf(folder),
              (QStringList{"sub", " File Folder", "", "1/2/2020", "D", "", "", ""}));
    EXPECT_TRUE(folder.isFolder());
    EXPECT_FALSE(listing->rows[1].isFolder());
    for (const PaneRow& row : listing->rows) {
        EXPECT_TRUE(row.nativeName.empty());
        EXPECT_EQ(row.smallImage, 0);
        EXPECT_EQ(row.largeImage, 0);
        EXPECT_EQ(row.foreColor, RowColor::Black);
    }
}

TEST(SavedListingFormat, AcceptsLfAloneCrAloneAndAMissingLastLineEnd)
{
    for (const QByteArray& bytes :
         {QByteArray("p\nc\na\nb"), QByteArray("p\rc\ra\rb\r"), QByteArray("p\r\nc\na\r\nb\n")}) {
        const auto listing = SavedListingFormat::parse(bytes);
        ASSERT_TRUE(listing) << bytes.toStdString();
        EXPECT_EQ(listing->pathText, QStringLiteral("p"));
        EXPECT_EQ(listing->countText, QStringLiteral("c"));
        ASSERT_EQ(listing->rows.size(), 2u) << bytes.toStdString();
        EXPECT_EQ(listing->rows[1].texts->cells[0], QStringLiteral("b"));
    }
}

TEST(SavedListingFormat, TwoLinesGiveAnEmptyListAndAnEmptyLineInsideIsARow)
{
    auto listing = SavedListingFormat::parse("p\r\n\r\n");
    ASSERT_TRUE(listing);
    EXPECT_TRUE(listing->countText.isEmpty());
    EXPECT_TRUE(listing->rows.empty());

    listing = SavedListingFormat::parse("p\r\nc\r\n\r\nx\r\n");
    ASSERT_TRUE(listing);
    ASSERT_EQ(listing->rows.size(), 2u);
    EXPECT_EQ(cellsOf(listing->rows[0]), QStringList(8, QString()));
}

TEST(SavedListingFormat, FewerThanTwoLinesIsNoListing)
{
    EXPECT_FALSE(SavedListingFormat::parse(QByteArray()));
    EXPECT_FALSE(SavedListingFormat::parse("/home/ann\r\n"));
    EXPECT_FALSE(SavedListingFormat::parse("/home/ann"));
    EXPECT_FALSE(SavedListingFormat::parse("\xEF\xBB\xBF"));
}

TEST(SavedListingFormat, ShortRowsGetEmptyCellsAndExtraFieldsAreIgnored)
{
    const auto listing = SavedListingFormat::parse("p\r\nc\r\nonly\r\na\x02"
                                                   "b\r\n1\x02"
                                                   "2\x02"
                                                   "3\x02"
                                                   "4\x02"
                                                   "5\x02"
                                                   "6\x02"
                                                   "7\x02"
                                                   "8\x02"
                                                   "9\r\n");
    ASSERT_TRUE(listing);
    ASSERT_EQ(listing->rows.size(), 3u);
    EXPECT_EQ(cellsOf(listing->rows[0]), (QStringList{"only", "", "", "", "", "", "", ""}));
    EXPECT_EQ(cellsOf(listing->rows[1]), (QStringList{"a", "b", "", "", "", "", "", ""}));
    // Sub-item 7 is not part of the file: the eighth cell stays empty.
    EXPECT_EQ(cellsOf(listing->rows[2]), (QStringList{"1", "2", "3", "4", "5", "6", "7", ""}));
}

TEST(SavedListingFormat, ValidUtf8IsReadAsUtf8AndAByteOrderMarkIsDropped)
{
    const auto listing = SavedListingFormat::parse("\xEF\xBB\xBF/home/J\xC3\xBCrgen\r\n"
                                                   "\xE2\x82\xAC\r\n");
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing->pathText, QStringLiteral("/home/J\u00fcrgen"));
    EXPECT_EQ(listing->countText, QStringLiteral("\u20ac"));
}

TEST(SavedListingFormat, InvalidUtf8IsReadAsWindows1252)
{
    const auto listing =
        SavedListingFormat::parse("C:\\Caf\xE9\r\n\x80 5\r\n\x93quoted\x94\x02\x96\r\n");
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing->pathText, QStringLiteral("C:\\Caf\u00e9"));
    EXPECT_EQ(listing->countText, QStringLiteral("\u20ac 5"));
    EXPECT_EQ(listing->rows[0].texts->cells[0], QStringLiteral("\u201cquoted\u201d"));
    EXPECT_EQ(listing->rows[0].texts->cells[1], QStringLiteral("\u2013"));
}

TEST(SavedListingFormat, Windows1252TableAgreesWithQt)
{
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString table = SavedListingFormat::decodeWindows1252(all);
    ASSERT_EQ(table.size(), 256);
    EXPECT_EQ(table[0x80], QChar(0x20AC));
    EXPECT_EQ(table[0x9F], QChar(0x0178));
    EXPECT_EQ(table[0xE9], QChar(0x00E9));
    QStringDecoder qt("windows-1252");
    if (!qt.isValid())
        GTEST_SKIP() << "this Qt has no Windows-1252 converter; the table is used instead";
    EXPECT_EQ(table, qt.decode(all));
}

TEST(SavedListingFormat, HugeLineAndBinaryBytesAreReadWithoutHarm)
{
    // A huge text is refused before the file is decoded, so it costs no memory of its own.
    QByteArray huge("p\r\nc\r\n");
    huge.append(QByteArray(20 * 1024 * 1024, 'n'));
    huge.append("\x02tail\r\n");
    const ParsedListing refused = SavedListingFormat::parse(huge, SavedListingLimits{});
    EXPECT_FALSE(refused.listing);
    EXPECT_EQ(refused.problem, ParsedListing::Problem::TextTooLong);
    EXPECT_EQ(refused.line, 3);

    // Every byte value, NULs and stray line ends included, in a pseudo-random order.
    QByteArray binary;
    uint32_t state = 12345;
    for (int i = 0; i < 64 * 1024; ++i) {
        state = state * 1103515245u + 12345u;
        binary.append(char(state >> 16));
    }
    const auto listing = SavedListingFormat::parse(binary);
    ASSERT_TRUE(listing);
    for (const PaneRow& row : listing->rows)
        for (const QString& cell : row.texts->cells) {
            EXPECT_FALSE(cell.contains(QLatin1Char('\r')));
            EXPECT_FALSE(cell.contains(QLatin1Char('\n')));
            EXPECT_FALSE(cell.contains(SavedListingFormat::Separator));
        }
}

TEST(SavedListingFormat, RowLinesAreCountedAsTheyAreRead)
{
    const QByteArray cases[] = {"",
                                "p",
                                "p\r\n",
                                "p\r\nc",
                                "p\r\nc\r\n",
                                "p\r\nc\r\nrow",
                                "p\nc\ra\r\nb\n\rc\r\r\n",
                                "\r\n\r\n\r\n\r\n",
                                "\n\n\n\n\n",
                                "p\r\nc\r\n\xC3\xA9\r\n\x80\r"};
    for (const QByteArray& bytes : cases) {
        const auto listing = SavedListingFormat::parse(bytes);
        const qsizetype counted = SavedListingFormat::rowLineCount(bytes);
        EXPECT_EQ(counted, listing ? qsizetype(listing->rows.size()) : 0) << bytes.toStdString();
    }
}

TEST(SavedListingFormat, MoreRowsThanTheLimitGiveNoListing)
{
    SavedListingLimits limits;
    limits.maxRows = 3;
    ParsedListing parsed = SavedListingFormat::parse("p\r\nc\r\na\r\nb\r\nc\r\n", limits);
    ASSERT_TRUE(parsed.listing);
    EXPECT_EQ(parsed.listing->rows.size(), 3u);
    EXPECT_EQ(parsed.problem, ParsedListing::Problem::None);
    parsed = SavedListingFormat::parse("p\r\nc\r\na\r\nb\r\nc\r\nd", limits);
    EXPECT_FALSE(parsed.listing);
    EXPECT_EQ(parsed.problem, ParsedListing::Problem::TooManyRows);
    parsed = SavedListingFormat::parse("only a path", limits);
    EXPECT_EQ(parsed.problem, ParsedListing::Problem::TooFewLines);
}

TEST(SavedListingFormat, TextsUpToTheLimitAreReadAndALongerOneIsRefusedWithItsLine)
{
    constexpr qsizetype Limit = 32 * 1024;
    // Two-byte characters: the limit counts the bytes of the file, not the characters.
    const QByteArray wideOver = QString(Limit / 2 + 1, QChar(0xe9)).toUtf8();
    const struct {
        QByteArray before, after;
        qsizetype line;
    } cases[] = {
        {"", "\r\nc\r\n", 1},
        // The count line is one text, separators and all.
        {"p\nx\x02", "\n", 2},
        {"p\rc\ra\r", "", 4},
        {"p\r\nc\r\na\002b\002c\002", "", 3},
        // A field past the seventh is measured too, though it is never read.
        {"p\nc\n\n1\0022\0023\0024\0025\0026\0027\002", "", 4},
    };
    for (const auto& c : cases) {
        const qsizetype room = Limit - (c.line == 2 ? 2 : 0);
        EXPECT_TRUE(SavedListingFormat::parse(c.before + QByteArray(room, 'x') + c.after,
                                              SavedListingLimits{})
                        .listing)
            << c.line;
        for (const QByteArray& text : {QByteArray(room + 1, 'x'), wideOver}) {
            const ParsedListing parsed =
                SavedListingFormat::parse(c.before + text + c.after, SavedListingLimits{});
            EXPECT_EQ(parsed.problem, ParsedListing::Problem::TextTooLong) << c.line;
            EXPECT_EQ(parsed.line, c.line);
        }
    }
}

TEST(SavedListingFormat, WrittenLinesReadBackAsTheSameTexts)
{
    const std::array<QString, 7> fields = {QStringLiteral("\u65e5\u672c.txt"),
                                           QStringLiteral("Text"),
                                           QStringLiteral("   12"),
                                           QStringLiteral("12/8/2026 7:29:42 AM"),
                                           QStringLiteral("RH"),
                                           QString(),
                                           QStringLiteral(" ")};
    QByteArray bytes = lineOf({QStringLiteral("/p")}) + lineOf({QStringLiteral("c")});
    SavedListingFormat::appendLine(bytes, fields);
    const auto listing = SavedListingFormat::parse(bytes);
    ASSERT_TRUE(listing);
    ASSERT_EQ(listing->rows.size(), 1u);
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(listing->rows[0].texts->cells[size_t(c)], fields[size_t(c)]) << c;
}

TEST(SavedListingFormat, APathThatBeginsWithAByteOrderMarkComesBackWhole)
{
    // The reader drops one mark at the start of a file; the writer puts one before such a text.
    const QString path = QChar(0xFEFF) + QStringLiteral("/p");
    QByteArray bytes = lineOf({path});
    bytes += lineOf({QStringLiteral("c")});
    const auto listing = SavedListingFormat::parse(bytes);
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing->pathText, path);
    EXPECT_EQ(lineOf({QStringLiteral("/p")}), QByteArray("/p\r\n")) << "no mark otherwise";
}

} // namespace
} // namespace vennic
