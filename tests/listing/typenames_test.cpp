#include "listing/typenames.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <ostream>

/// Shows texts as text when an expectation fails.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using vennic::TypeNames;

TEST(TypeNames, FoldersAndNamesWithoutExtension)
{
    TypeNames types;
    EXPECT_EQ(types.text(TypeNames::FolderIndex), "File Folder");
    EXPECT_EQ(types.text(types.indexOf("README")), "File");
    EXPECT_EQ(types.text(types.indexOf("trailing.")), "File");
}

TEST(TypeNames, UnknownExtensionNamesItself)
{
    TypeNames types;
    EXPECT_EQ(types.text(types.indexOf("data.xyzq")), "XYZQ File");
    EXPECT_EQ(types.text(types.indexOf("DATA.XyZq")), "XYZQ File");
}

TEST(TypeNames, KnownKindsComeFromTheMimeDatabase)
{
    TypeNames types;
    const QString text = types.text(types.indexOf("notes.txt"));
    EXPECT_FALSE(text.isEmpty());
    EXPECT_NE(text, "TXT File");
    // Case of the extension does not matter, and one kind has one index.
    EXPECT_EQ(types.indexOf("NOTES.TXT"), types.indexOf("notes.txt"));
    // A multi-part suffix is its own kind, not that of its last extension.
    EXPECT_NE(types.text(types.indexOf("backup.tar.gz")), types.text(types.indexOf("one.gz")));
    EXPECT_EQ(types.indexOf("backup.tar.gz"), types.indexOf("other.TAR.GZ"));
    // A whole name the database knows, in any case.
    EXPECT_NE(types.text(types.indexOf("Makefile")), "File");
    EXPECT_EQ(types.indexOf("MAKEFILE"), types.indexOf("Makefile"));
    // Names beyond ASCII follow the same rules.
    EXPECT_EQ(types.indexOf("\xc3\x9c"
                            "bersicht.TXT"),
              types.indexOf("notes.txt"));
    EXPECT_EQ(types.indexOf("\xc3\x84rger.Tar.Gz"), types.indexOf("backup.tar.gz"));
}

TEST(TypeNames, CachedLookUpsAreFastAndThreadSafe)
{
    TypeNames types;
    const uint16_t expected = types.indexOf("warm.txt");
    std::vector<std::thread> threads;
    std::atomic<int> wrong = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 25000; ++i)
                if (types.indexOf("file" + std::to_string(i) + ".txt") != expected)
                    ++wrong;
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(types.namer()("x.txt"), types.text(expected).toStdString());
}
