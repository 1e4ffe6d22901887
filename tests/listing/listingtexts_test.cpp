#include "listing/listingtexts.h"
#include "listing/typenames.h"
#include "support/fakefilesystem.h"

#include <gtest/gtest.h>

#include <ostream>

/// Shows texts as text when an expectation fails.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace vennic;
using vennic::test::FakeFileSystem;

namespace {

int64_t localSeconds(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return std::chrono::system_clock::to_time_t(
        FakeFileSystem::localTime(year, month, day, hour, minute, second));
}

} // namespace

TEST(NumberText, GroupsThousandsWithoutDecimals)
{
    EXPECT_EQ(numberText(1234567), "1,234,567");
    EXPECT_EQ(numberText(999), "999");
    EXPECT_EQ(numberText(1000), "1,000");
    EXPECT_EQ(numberText(0), "");
    EXPECT_EQ(numberText(1e15), "1,000,000,000,000,000");
    EXPECT_EQ(numberText(9007199254740993.0), "9,007,199,254,740,992");
    EXPECT_EQ(numberText(1e19), "10,000,000,000,000,000,000");
}

TEST(SizeText, PadsToFifteenAndLeavesLongerTextsAlone)
{
    EXPECT_EQ(sizeText(0), QString(15, QLatin1Char(' ')));
    EXPECT_EQ(sizeText(1234), "          1,234");
    EXPECT_EQ(sizeText(1e15), "1,000,000,000,000,000");
    EXPECT_EQ(sizeText(123456789012), "123,456,789,012");
    EXPECT_EQ(sizeText(1234567890123), "1,234,567,890,123");
}

TEST(AttributeLetters, FixedOrder)
{
    EXPECT_EQ(attributeLetters(0), "");
    EXPECT_EQ(attributeLetters(Attr::Hidden | Attr::System | Attr::Directory), "HSD");
    EXPECT_EQ(attributeLetters(0xFFFFFFFF), "RHSVDAaC");
    EXPECT_EQ(attributeLetters(Attr::Directory | Attr::Alias), "Da");
    EXPECT_EQ(attributeLetters(Attr::Compressed | Attr::ReadOnly), "RC");
}

TEST(DateTexts, ShortDateWithFourDigitYearAndSeconds)
{
    const DateTexts dates;
    EXPECT_EQ(dates.text(localSeconds(2026, 12, 8, 7, 29, 42)), "12/8/2026 7:29:42 AM");
    EXPECT_EQ(dates.text(localSeconds(1999, 1, 31, 23, 5, 9)), "1/31/1999 11:05:09 PM");
    EXPECT_EQ(dates.text(localSeconds(1969, 7, 20, 16, 17, 40)), "7/20/1969 4:17:40 PM");
}

TEST(DateTexts, NoTimeAtExactMidnight)
{
    const DateTexts dates;
    EXPECT_EQ(dates.text(localSeconds(2026, 12, 8)), "12/8/2026");
    EXPECT_EQ(dates.text(localSeconds(2026, 12, 8, 0, 0, 1)), "12/8/2026 12:00:01 AM");
    EXPECT_EQ(dates.text(localSeconds(2026, 12, 8, 12, 0, 0)), "12/8/2026 12:00:00 PM");
}

TEST(DateTexts, OffsetChangesKeepLocalHours)
{
    // New York moves from UTC-5 to UTC-4 at 2:00 on 8 March 2026, and back at 2:00 on
    // 1 November. Times on both sides, and asked in both orders, keep their own offset.
    const DateTexts dates;
    const int64_t springChange = 1772953200; // 2026-03-08 07:00:00 UTC
    EXPECT_EQ(dates.text(springChange), "3/8/2026 3:00:00 AM");
    EXPECT_EQ(dates.text(springChange - 1), "3/8/2026 1:59:59 AM");
    EXPECT_EQ(dates.text(springChange - 1800), "3/8/2026 1:30:00 AM");
    EXPECT_EQ(dates.text(springChange + 1800), "3/8/2026 3:30:00 AM");
    const int64_t autumnChange = 1793512800; // 2026-11-01 06:00:00 UTC
    EXPECT_EQ(dates.text(autumnChange - 1), "11/1/2026 1:59:59 AM");
    EXPECT_EQ(dates.text(autumnChange), "11/1/2026 1:00:00 AM");
    EXPECT_EQ(dates.text(autumnChange + 3600), "11/1/2026 2:00:00 AM");
    EXPECT_EQ(dates.text(localSeconds(2026, 7, 4, 12, 0, 0)), "7/4/2026 12:00:00 PM");
}

TEST(DateTexts, OffsetChangeWithinAnHour)
{
    // Adelaide moves from UTC+9:30 to UTC+10:30 at 16:30 UTC on 3 October 2026, half-way
    // through an hour of UTC, so one cached hour holds both offsets.
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", "Australia/Adelaide");
    tzset();
    {
        const DateTexts dates;
        const int64_t change = 1791045000; // 2026-10-03 16:30:00 UTC
        EXPECT_EQ(dates.text(change - 1800), "10/4/2026 1:30:00 AM");
        EXPECT_EQ(dates.text(change + 900), "10/4/2026 3:15:00 AM");
        EXPECT_EQ(dates.text(change - 1), "10/4/2026 1:59:59 AM");
        EXPECT_EQ(dates.text(change), "10/4/2026 3:00:00 AM");
    }
    qputenv("TZ", saved);
    tzset();
}

TEST(ListingTexts, FollowTheLocale)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(numberText(1234567, german), "1.234.567");
    EXPECT_EQ(sizeText(1e15, german), "1.000.000.000.000.000");
    const DateTexts dates(german);
    EXPECT_EQ(dates.text(localSeconds(2026, 12, 8, 7, 29, 42)), "08.12.2026 07:29:42");
    EXPECT_EQ(dates.text(localSeconds(2026, 12, 8)), "08.12.2026");

    // Texts made with the default locale follow it when it changes.
    const QLocale saved;
    QLocale::setDefault(german);
    EXPECT_EQ(numberText(4096), "4.096");
    EXPECT_EQ(DateTexts().text(localSeconds(2026, 3, 1, 18, 0, 5)), "01.03.2026 18:00:05");
    QLocale::setDefault(saved);
}

TEST(DateTexts, TheDatePartEndsWhereTheLocaleWritesItsDate)
{
    const QLocale c = QLocale::c();
    const int64_t evening = localSeconds(2026, 12, 9, 0, 38, 14);
    EXPECT_EQ(DateTexts(c).text(evening), "9 Dec 2026 00:38:14");
    EXPECT_EQ(DateTexts(c).date(evening), "9 Dec 2026") << "a date with blanks in it";
    EXPECT_EQ(dateLength("9 Dec 2026 00:38:14", c), 10);
    EXPECT_EQ(dateLength("12/8/2026 7:29:42 AM"), 9);
    EXPECT_EQ(dateLength("12/8/2026"), 9) << "midnight: all date";
    EXPECT_EQ(dateLength("12/8/26 7:29:42 AM"), 7) << "the locale's own two-digit year";
    EXPECT_EQ(dateLength("midnight"), -1);
    EXPECT_EQ(dateLength("9 Dec 2026 00:38:14"), -1) << "not a date of this locale";
    EXPECT_EQ(dateLength(" "), -1);

    TypeNames types;
    const ListingTexts texts(types, c);
    PaneRow row;
    row.created = evening;
    EXPECT_EQ(texts.createdDate(row), "9 Dec 2026");
    row.flags = PaneRow::CreatedBlank;
    EXPECT_EQ(texts.createdDate(row), "");
}

TEST(ListingTexts, CellsOfListedRows)
{
    TypeNames types;
    const ListingTexts texts(types);

    PaneRow folder;
    folder.nativeName = "Photos";
    folder.flags = PaneRow::Folder;
    folder.typeIndex = TypeNames::FolderIndex;
    folder.size = 1234567;
    folder.created = localSeconds(2026, 12, 8, 7, 29, 42);
    folder.accessed = localSeconds(2026, 12, 9);
    folder.modified = localSeconds(2026, 12, 10, 13, 0, 0);
    folder.attributes = Attr::Directory | Attr::Hidden;
    EXPECT_EQ(texts.cellText(folder, ColName), "Photos");
    EXPECT_EQ(texts.cellText(folder, ColType), " File Folder");
    EXPECT_EQ(texts.cellText(folder, ColBytes), "      1,234,567");
    EXPECT_EQ(texts.cellText(folder, ColBytes2), "      1,234,567");
    EXPECT_EQ(texts.cellText(folder, ColCreated), "12/8/2026 7:29:42 AM");
    EXPECT_EQ(texts.cellText(folder, ColAttributes), "HD");
    EXPECT_EQ(texts.cellText(folder, ColAccessed), "12/9/2026");
    EXPECT_EQ(texts.cellText(folder, ColModified), "12/10/2026 1:00:00 PM");

    folder.flags |= PaneRow::SizeUnknown | PaneRow::NoAccessDates;
    EXPECT_EQ(texts.cellText(folder, ColBytes), "unreadable");
    EXPECT_EQ(texts.cellText(folder, ColBytes2), "unreadable");
    // A folder that is not walked has no size at all, which is not an unreadable one.
    folder.flags |= PaneRow::SizeNotWalked;
    EXPECT_EQ(texts.cellText(folder, ColBytes), "");
    folder.flags &= uint16_t(~PaneRow::SizeNotWalked);
    EXPECT_EQ(texts.cellText(folder, ColAccessed), "");
    EXPECT_EQ(texts.cellText(folder, ColModified), "");

    PaneRow file;
    file.nativeName = "caf\xc3\xa9.xyzq";
    file.typeIndex = types.indexOf(file.nativeName);
    file.flags = PaneRow::NoSizeColumn2 | PaneRow::CreatedBlank;
    EXPECT_EQ(texts.cellText(file, ColName), QString::fromUtf8("café.xyzq"));
    EXPECT_EQ(texts.cellText(file, ColType), "XYZQ File");
    EXPECT_EQ(texts.cellText(file, ColBytes), QString(15, QLatin1Char(' ')));
    EXPECT_EQ(texts.cellText(file, ColBytes2), "");
    EXPECT_EQ(texts.cellText(file, ColCreated), " ");

    // Bytes that are not UTF-8 still give a name to show.
    file.nativeName = "bad\xff\xfe.txt";
    EXPECT_TRUE(texts.cellText(file, ColName).startsWith("bad"));
    EXPECT_TRUE(texts.cellText(file, ColName).endsWith(".txt"));
}
