#include "listing/listingtexts.h"
#include "listing/panelist.h"
#include "listing/typenames.h"
#include "output/listingpages.h"
#include "output/recordingcanvas.h"
#include "support/fakefilesystem.h"
#include "support/textrow.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <ostream>

/// Shows texts as text when an expectation fails.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace vennic {
namespace {

using test::textRow;

using Call = RecordingCanvas::Call;

/// The recording canvas's page: a letter sheet with quarter-inch margins.
constexpr double PortraitW = 11520;
constexpr double LandscapeW = 15120;

/// A pane with a folder, two files with sizes, dates and times of different lengths, and a
/// file whose "Created" text has no blank.
class Print : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<PaneRow> rows;
        rows.push_back(
            textRow({"Projects", " File Folder", "1,234,567", "12/8/2026 7:29:42 AM", "D", "", ""},
                    RowColor::Blue));
        rows.push_back(
            textRow({"a.txt", "Text Document", "5", "1/1/2020 12:00:01 PM", "A", "", ""}));
        rows.push_back(textRow(
            {"marked.doc", "DOC File", "98,765,432", "10/31/2019 11:59:59 PM", "RA", "", ""},
            RowColor::Red));
        rows.push_back(textRow({"nodate", "File", "", "midnight", "", "", ""}));
        list.setRows(std::move(rows));
        listing.rows = &list;
        listing.path = QStringLiteral("/home/ann/Data");
        listing.count = QStringLiteral("1 Folders, 3 Files");
        listing.fontName = QStringLiteral("Noto Sans");
        listing.fontSize = 8.25;
    }

    /// The text calls of one row, found by its name.
    std::vector<Call> rowTexts(const QString& name) const
    {
        std::vector<Call> found;
        const auto texts = canvas.callsOf(Call::Text);
        for (size_t i = 0; i < texts.size(); ++i)
            if (texts[i].text == name) {
                for (size_t j = i; j < texts.size(); ++j) {
                    found.push_back(texts[j]);
                    if (texts[j].endsLine)
                        break;
                }
                break;
            }
        return found;
    }

    PaneList list{PaneColumnCount};
    PrintedListing listing;
    RecordingCanvas canvas;
};

/// The width of a recorded text: half an em a character, four tenths in the condensed face.
double widthOf(const Call& text)
{
    return text.text.size() * text.fontSize * (text.condensed ? 8 : 10);
}

/// Checks one full-print row: the name after the picture's room, the type, the right edges of
/// size, date and time, and the attributes, all at fractions of `w`.
void expectFullRow(const std::vector<Call>& cells, double w, const QString& date,
                   const QString& time)
{
    ASSERT_EQ(cells.size(), 6u);
    EXPECT_EQ(cells[0].x, 360) << "names start at 1.5 times the picture's width";
    EXPECT_DOUBLE_EQ(cells[1].x, 0.3 * w);
    EXPECT_DOUBLE_EQ(cells[2].x + cells[2].text.size() * cells[2].fontSize * 10, 0.49 * w);
    EXPECT_EQ(cells[3].text, date);
    EXPECT_DOUBLE_EQ(cells[3].x + cells[3].text.size() * cells[3].fontSize * 10, 0.58 * w);
    EXPECT_EQ(cells[4].text, time);
    EXPECT_DOUBLE_EQ(cells[4].x + cells[4].text.size() * cells[4].fontSize * 10, 0.68 * w);
    EXPECT_DOUBLE_EQ(cells[5].x, 0.8 * w);
    EXPECT_TRUE(cells[5].endsLine);
    for (const Call& cell : cells)
        EXPECT_EQ(cell.y, cells[0].y) << "one line";
}

TEST_F(Print, FullPortraitPlacesHeaderCaptionsRuleAndRows)
{
    printFullPage(canvas, listing, false);
    ASSERT_EQ(canvas.calls().front().kind, Call::SetOrientation);
    EXPECT_EQ(canvas.calls().front().orientation, Canvas::Portrait);

    const Call* folder = canvas.findText("Folder: /home/ann/Data");
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->x, 0);
    EXPECT_EQ(folder->y, 0);
    EXPECT_TRUE(folder->bold);
    EXPECT_EQ(folder->fontSize, 10) << "the list's size rounded, plus 2";
    EXPECT_EQ(folder->fontName, "Noto Sans");
    ASSERT_TRUE(canvas.findText("1 Folders, 3 Files"));
    EXPECT_EQ(canvas.findText("1 Folders, 3 Files")->y, 240);

    const std::pair<const char*, double> captions[] = {
        {"File Name:", 0},          {"Type:", 0.3 * PortraitW}, {"Size:", 0.4 * PortraitW},
        {"Date:", 0.5 * PortraitW}, {"Time:", 0.6 * PortraitW}, {"Attributes:", 0.8 * PortraitW}};
    for (const auto& [caption, x] : captions) {
        const Call* call = canvas.findText(caption);
        ASSERT_TRUE(call) << caption;
        EXPECT_DOUBLE_EQ(call->x, x) << caption;
        EXPECT_EQ(call->y, 480) << caption;
        EXPECT_TRUE(call->bold);
    }

    const auto rules = canvas.callsOf(Call::Rule);
    ASSERT_EQ(rules.size(), 5u) << "the captions' rule and one per row";
    EXPECT_EQ(rules[0].x, 0);
    EXPECT_EQ(rules[0].y, 480 + 240 + 50) << "50 twips below the captions line";
    EXPECT_EQ(rules[0].x2, PortraitW);
    EXPECT_EQ(rules[0].y2, rules[0].y);

    const auto first = rowTexts("Projects");
    expectFullRow(first, PortraitW, "12/8/2026 ", "7:29:42 AM");
    EXPECT_EQ(first[0].y, rules[0].y + 50);
    EXPECT_FALSE(first[0].bold);
    EXPECT_EQ(first[0].fontSize, 8) << "the list's size rounded";
    expectFullRow(rowTexts("a.txt"), PortraitW, "1/1/2020 ", "12:00:01 PM");
    expectFullRow(rowTexts("marked.doc"), PortraitW, "10/31/2019 ", "11:59:59 PM");

    // Each row is one text line plus 100 twips, its rule across the page 50 twips below it.
    EXPECT_EQ(rules[1].y, first[0].y + 8 * 24 + 50);
    EXPECT_EQ(rules[1].x, 0);
    EXPECT_EQ(rules[1].x2, PortraitW);
    EXPECT_EQ(rowTexts("a.txt")[0].y, first[0].y + 8 * 24 + 100);
    EXPECT_EQ(canvas.calls().back().kind, Call::EndDoc);
}

TEST_F(Print, FullLandscapeMovesEveryColumnOutWithTheWiderPage)
{
    printFullPage(canvas, listing, true);
    EXPECT_EQ(canvas.calls().front().orientation, Canvas::Landscape);
    EXPECT_DOUBLE_EQ(canvas.findText("Type:")->x, 0.3 * LandscapeW);
    EXPECT_DOUBLE_EQ(canvas.findText("Size:")->x, 0.4 * LandscapeW);
    EXPECT_DOUBLE_EQ(canvas.findText("Date:")->x, 0.5 * LandscapeW);
    EXPECT_DOUBLE_EQ(canvas.findText("Time:")->x, 0.6 * LandscapeW);
    EXPECT_DOUBLE_EQ(canvas.findText("Attributes:")->x, 0.8 * LandscapeW);
    expectFullRow(rowTexts("Projects"), LandscapeW, "12/8/2026 ", "7:29:42 AM");
    expectFullRow(rowTexts("marked.doc"), LandscapeW, "10/31/2019 ", "11:59:59 PM");
    for (const Call& rule : canvas.callsOf(Call::Rule))
        EXPECT_EQ(rule.x2, LandscapeW);
}

TEST_F(Print, FolderRowsGetThePictureAndEveryRowItsOwnColour)
{
    listing.pictureWidth = listing.pictureHeight = 240;
    printFullPage(canvas, listing, false);
    const auto pictures = canvas.callsOf(Call::Picture);
    ASSERT_EQ(pictures.size(), 1u) << "only the folder row";
    const Call name = rowTexts("Projects")[0];
    EXPECT_EQ(pictures[0].x, 0);
    EXPECT_EQ(pictures[0].y, name.y - 25);
    EXPECT_EQ(pictures[0].x2, 240);
    EXPECT_EQ(pictures[0].y2, 240);

    EXPECT_EQ(name.color, RowColor::Blue);
    EXPECT_EQ(rowTexts("a.txt")[0].color, RowColor::Black);
    for (const Call& cell : rowTexts("marked.doc"))
        EXPECT_EQ(cell.color, RowColor::Red);
    EXPECT_EQ(rowTexts("nodate")[0].color, RowColor::Black) << "the next row is in its own colour";
}

TEST_F(Print, FolderTypeIsComparedWithoutCaseAndNeedsItsBlank)
{
    std::vector<PaneRow> rows;
    rows.push_back(textRow({"lower", " file folder", "", "", "D"}));
    rows.push_back(textRow({"noblank", "File Folder", "", "", ""}));
    list.setRows(std::move(rows));
    printListRows(canvas, listing);
    const auto pictures = canvas.callsOf(Call::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].y, rowTexts("lower")[0].y - 25);
}

TEST_F(Print, CreatedWithoutABlankPrintsAllOfItAsTheTime)
{
    printFullPage(canvas, listing, false);
    expectFullRow(rowTexts("nodate"), PortraitW, "", "midnight");
}

/// Checks that no text of a row reaches the next one's start.
void expectApart(const std::vector<Call>& cells)
{
    for (size_t i = 1; i < cells.size(); ++i)
        if (!cells[i].text.isEmpty())
            for (size_t j = 0; j < i; ++j)
                if (!cells[j].text.isEmpty())
                    EXPECT_LE(cells[j].x + widthOf(cells[j]), cells[i].x)
                        << cells[j].text.toStdString() << " runs into "
                        << cells[i].text.toStdString();
}

TEST_F(Print, LongNamesAndTypesAreCutWhereTheNextTextBegins)
{
    std::vector<PaneRow> rows;
    rows.push_back(textRow({QString(80, QLatin1Char('n')), "Tar archive (gzip-compressed)",
                            "98,765,432", "12/9/2026 12:38:14 AM", "A"}));
    list.setRows(std::move(rows));
    printFullPage(canvas, listing, false);
    const auto texts = canvas.callsOf(Call::Text);
    const auto name = std::find_if(texts.begin(), texts.end(),
                                   [](const Call& c) { return c.text.startsWith("nnn"); });
    ASSERT_NE(name, texts.end());
    EXPECT_TRUE(name->text.endsWith(QChar(0x2026)));
    EXPECT_LE(name->x + widthOf(*name), 0.3 * PortraitW - 40) << "cut before the type's column";
    const auto cells = rowTexts(name->text);
    ASSERT_EQ(cells.size(), 6u);
    EXPECT_DOUBLE_EQ(cells[1].x, 0.3 * PortraitW) << "columns keep their places";
    EXPECT_EQ(cells[1].text, "Tar archive (gz…") << "as much as fits";
    EXPECT_GE(cells[2].x - (cells[1].x + widthOf(cells[1])), 40) << "a quarter em apart";
    EXPECT_EQ(cells[2].text, "98,765,432");
    EXPECT_EQ(cells[3].text, "12/9/2026 ");
    EXPECT_EQ(cells[4].text, "12:38:14 AM");
    expectApart(cells);
}

TEST_F(Print, CreatedSplitsWhereTheLocalesDateEnds)
{
    QLocale::setDefault(QLocale::c());
    TypeNames types;
    list.setTextMaker(std::make_shared<ListingTexts>(types, QLocale::c()));
    std::vector<PaneRow> rows;
    rows.push_back(textRow({"opened", "File", "5", "9 Dec 2026 00:38:14", "A"}));
    PaneRow listed;
    listed.nativeName = "listed";
    listed.created = std::chrono::system_clock::to_time_t(
        test::FakeFileSystem::localTime(2026, 12, 9, 0, 38, 14));
    rows.push_back(std::move(listed));
    rows.push_back(textRow({"midnight", "File", "5", "9 Dec 2026", "A"}));
    list.setRows(std::move(rows));
    printFullPage(canvas, listing, false);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    ASSERT_EQ(list.cellText(1, ColCreated), "9 Dec 2026 00:38:14");
    expectFullRow(rowTexts("opened"), PortraitW, "9 Dec 2026 ", "00:38:14");
    expectFullRow(rowTexts("listed"), PortraitW, "9 Dec 2026 ", "00:38:14");
    expectFullRow(rowTexts("midnight"), PortraitW, "9 Dec 2026", "");
}

TEST_F(Print, SmallDatesCondenseThenTheTypeMakesWay)
{
    std::vector<PaneRow> rows;
    rows.push_back(textRow({"wide", "Tar archive (gzip-compressed)", "12,345,678,901",
                            "12/29/2026 12:38:14 PM", "RA"}));
    list.setRows(std::move(rows));
    const double h = std::round(PortraitW / 2);
    for (bool condensedFace : {true, false}) {
        SCOPED_TRACE(condensedFace ? "condensed face" : "no condensed face");
        canvas.clear();
        canvas.setHasCondensedFace(condensedFace);
        printSmallPage(canvas, listing, false);
        const auto cells = rowTexts("wide");
        ASSERT_EQ(cells.size(), 6u);
        expectApart(cells);
        EXPECT_EQ(cells[3].text, "12/29/2026 ");
        EXPECT_EQ(cells[3].condensed, condensedFace);
        EXPECT_EQ(cells[4].text, "12:38:14 PM");
        EXPECT_EQ(cells[4].condensed, condensedFace);
        EXPECT_DOUBLE_EQ(cells[4].x + widthOf(cells[4]), 0.68 * h) << "times keep their edge";
        EXPECT_FALSE(cells[2].condensed);
        EXPECT_EQ(cells[2].text, "12,345,678,901") << "sizes are never cut";
        EXPECT_LT(cells[2].x + widthOf(cells[2]), 0.49 * h) << "the size made way for the date";
        EXPECT_TRUE(cells[1].text.endsWith(QChar(0x2026)) || cells[1].text.isEmpty());
        EXPECT_EQ(cells[5].text, "RA");
    }
    EXPECT_EQ(rowTexts("wide")[1].text, "") << "without the narrower face the type has no room";
}

TEST_F(Print, RowsAloneKeepWhatTheLastPrintSet)
{
    printFullPage(canvas, listing, true);
    canvas.clear();
    printListRows(canvas, listing);
    EXPECT_TRUE(canvas.callsOf(Call::SetOrientation).empty()) << "no orientation is set";
    EXPECT_FALSE(canvas.findText("Folder: /home/ann/Data")) << "no header";
    EXPECT_FALSE(canvas.findText("File Name:"));
    const auto first = rowTexts("Projects");
    EXPECT_EQ(first[0].y, 0) << "the rows start at the top of a new job";
    EXPECT_EQ(first[0].fontName, "Noto Sans");
    EXPECT_EQ(first[0].fontSize, 8);
    expectFullRow(first, LandscapeW, "12/8/2026 ", "7:29:42 AM");
    EXPECT_EQ(canvas.calls().back().kind, Call::EndDoc);
}

TEST_F(Print, AnEmptyPanePrintsTheHeaderAndEndsTheJob)
{
    list.clear();
    printFullPage(canvas, listing, false);
    EXPECT_EQ(canvas.callsOf(Call::Text).size(), 8u) << "two header lines and six captions";
    EXPECT_EQ(canvas.callsOf(Call::Rule).size(), 1u);
    EXPECT_TRUE(canvas.callsOf(Call::Picture).empty());
    EXPECT_EQ(canvas.calls().back().kind, Call::EndDoc);

    canvas.clear();
    printSmallPage(canvas, listing, false);
    EXPECT_EQ(canvas.callsOf(Call::Text).size(), 8u);
    EXPECT_EQ(canvas.callsOf(Call::Rule).size(), 1u);
    EXPECT_EQ(canvas.calls().back().kind, Call::EndDoc);
}

/// Checks the small layout at half the page width `w`.
void expectSmallLayout(const RecordingCanvas& canvas, double w)
{
    const double h = std::round(w / 2);
    const std::pair<const char*, double> captions[] = {
        {"Name:", 0},       {"Type:", 0.3 * h}, {"Size:", 0.4 * h},
        {"Date:", 0.5 * h}, {"Time:", 0.6 * h}, {"Attributes:", 0.7 * h}};
    for (const auto& [caption, x] : captions) {
        const Call* call = canvas.findText(caption);
        ASSERT_TRUE(call) << caption;
        EXPECT_DOUBLE_EQ(call->x, x) << caption;
        EXPECT_EQ(call->y, 2 * 6 * 24) << caption;
        EXPECT_TRUE(call->bold);
        EXPECT_EQ(call->fontSize, 6);
    }
    const auto rules = canvas.callsOf(Call::Rule);
    ASSERT_EQ(rules.size(), 1u) << "only the captions' rule";
    EXPECT_EQ(rules[0].x, 0);
    EXPECT_EQ(rules[0].y, 3 * 6 * 24) << "along the top of the first row's line";
    EXPECT_EQ(rules[0].x2, h);
    EXPECT_TRUE(canvas.callsOf(Call::Picture).empty());
    for (const Call& text : canvas.callsOf(Call::Text)) {
        EXPECT_EQ(text.fontSize, 6) << text.text.toStdString();
        EXPECT_LE(text.x + widthOf(text), h) << "the right half stays empty";
    }
}

TEST_F(Print, SmallPortraitAndLandscapeUseHalfThePage)
{
    listing.fontSize = 14; // rows are 6-point whatever the list's font
    for (bool landscape : {false, true}) {
        canvas.clear();
        printSmallPage(canvas, listing, landscape);
        EXPECT_EQ(canvas.calls().front().orientation,
                  landscape ? Canvas::Landscape : Canvas::Portrait);
        const double w = landscape ? LandscapeW : PortraitW;
        const double h = std::round(w / 2);
        expectSmallLayout(canvas, w);

        const auto texts = canvas.callsOf(Call::Text);
        const auto nameAt = [&](const QString& name) {
            return std::find_if(texts.begin(), texts.end(),
                                [&](const Call& c) { return c.text == name; }) -
                   texts.begin();
        };
        const auto first = texts.begin() + nameAt("Projects");
        EXPECT_EQ(first->x, 0) << "names start at the left edge";
        EXPECT_EQ(first->y, 3 * 144) << "no gap after the rule";
        EXPECT_FALSE(first->bold);
        EXPECT_DOUBLE_EQ(first[1].x, 0.3 * h);
        EXPECT_DOUBLE_EQ(first[2].x + widthOf(first[2]), 0.49 * h);
        // On the narrower page the date prints condensed and moves right, towards the time,
        // to keep half an em from the size.
        if (landscape)
            EXPECT_DOUBLE_EQ(first[3].x + widthOf(first[3]), 0.58 * h);
        else
            EXPECT_GT(first[3].x + widthOf(first[3]), 0.58 * h);
        EXPECT_GE(first[3].x - (first[2].x + widthOf(first[2])), 6 * 10 - 1e-9);
        EXPECT_LE(first[3].x + widthOf(first[3]), first[4].x + 1e-9);
        EXPECT_DOUBLE_EQ(first[4].x + widthOf(first[4]), 0.68 * h);
        EXPECT_FALSE(first[2].condensed) << "sizes keep the row's face";
        EXPECT_EQ(first[3].condensed, !landscape)
            << "the date fits its column only on the wider page";
        EXPECT_DOUBLE_EQ(first[5].x, 0.7 * h);
        EXPECT_EQ(first[5].text, "D");
        const auto second = texts.begin() + nameAt("a.txt");
        EXPECT_EQ(second->y, first->y + 144) << "each row exactly one text line";
        EXPECT_EQ(texts[size_t(nameAt("marked.doc"))].color, RowColor::Red);
    }
}

TEST_F(Print, PreviewDrawsTheFullPageWithoutOrientationOrJob)
{
    drawPreviewPage(canvas, listing);
    EXPECT_TRUE(canvas.callsOf(Call::SetOrientation).empty());
    EXPECT_TRUE(canvas.callsOf(Call::EndDoc).empty());
    EXPECT_DOUBLE_EQ(canvas.findText("Attributes:")->x, 0.8 * PortraitW);
    expectFullRow(rowTexts("Projects"), PortraitW, "12/8/2026 ", "7:29:42 AM");
}

TEST_F(Print, EveryRowPrintsPastTheOld16BitLimitOntoNewPages)
{
    constexpr int Rows = 40000;
    std::vector<PaneRow> rows;
    rows.reserve(Rows);
    for (int i = 0; i < Rows; ++i)
        rows.push_back(
            textRow({QString::number(i), i % 7 ? "File" : " File Folder", "1", "x y", ""}));
    list.setRows(std::move(rows));
    printFullPage(canvas, listing, false);

    int names = 0;
    int lastPage = 1;
    const Call* previous = nullptr;
    for (const Call& call : canvas.calls()) {
        if (call.kind == Call::Text) {
            EXPECT_LE(call.y + call.fontSize * 24, canvas.ScaleHeight()) << "inside the page";
            if (call.x == 360)
                ++names;
        }
        if (call.kind == Call::Picture)
            previous = &call;
        else if (previous && call.kind == Call::Text) {
            EXPECT_EQ(call.page, previous->page) << "a picture stays beside its name";
            EXPECT_EQ(call.y - 25, previous->y);
            previous = nullptr;
        }
        lastPage = std::max(lastPage, call.page);
    }
    EXPECT_EQ(names, Rows);
    EXPECT_EQ(canvas.findText(QString::number(Rows - 1))->x, 360);
    // 292 twips a row on a 15,120-twip page: 51 rows a page, 49 on the first under the header.
    EXPECT_GT(lastPage, Rows / 52);
}

} // namespace
} // namespace vennic
