#include "fileops/attributeedit.h"

#include "support/fakefilesystem.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vennic {
namespace {

using test::FakeFileSystem;

long countCalls(const FakeFileSystem& fake, const std::string& call)
{
    const auto calls = fake.calls();
    return std::count(calls.begin(), calls.end(), call);
}

TEST(AttributeEdit, PosixFilesChangeOnlyReadOnly)
{
    const AttributeEdit edit("/f", Attr::Hidden | Attr::Archive, false, PathStyle::Posix);
    EXPECT_EQ(edit.writable(), Attr::ReadOnly);
    // Ticking everything changes read-only alone; hidden stays as the name makes it.
    EXPECT_EQ(edit.wanted(0xFFFF), Attr::ReadOnly | Attr::Hidden | Attr::Archive);
    EXPECT_EQ(edit.wanted(0), Attr::Hidden | Attr::Archive);
    EXPECT_TRUE(edit.lockedReason(Attr::ReadOnly).isEmpty());
    for (uint32_t bit : {Attr::Hidden, Attr::System, Attr::Archive, Attr::Compressed})
        EXPECT_FALSE(edit.lockedReason(bit).isEmpty()) << bit;
    EXPECT_TRUE(edit.lockedReason(Attr::Hidden).contains("hidden"));
}

TEST(AttributeEdit, WindowsFilesChangeTheFourStorableBits)
{
    const AttributeEdit edit("C:\\f", Attr::Archive | Attr::Compressed, false, PathStyle::Windows);
    EXPECT_EQ(edit.writable(), Attr::ReadOnly | Attr::Hidden | Attr::System | Attr::Archive);
    EXPECT_EQ(edit.wanted(Attr::ReadOnly | Attr::Volume), Attr::ReadOnly | Attr::Compressed);
}

TEST(AttributeEdit, WritesOnceAndOnlyWhenSomethingChanged)
{
    FakeFileSystem fake;
    fake.addFile("/a.txt").attributes = Attr::ReadOnly | Attr::Archive;
    const auto folder = fake.OpenListedFolder(fake.GetFolder("/")->Identity());
    ASSERT_TRUE(folder);
    const std::optional<AttributeEdit> edit =
        AttributeEdit::read(*folder, "a.txt", std::nullopt, false, PathStyle::Posix);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->write(*folder, Attr::ReadOnly).attributes, std::nullopt) << "as it was";
    EXPECT_EQ(countCalls(fake, "SetAttributes /a.txt"), 0);

    EXPECT_EQ(edit->write(*folder, 0).attributes, std::optional<uint32_t>(Attr::Archive));
    EXPECT_EQ(countCalls(fake, "SetAttributes /a.txt"), 1);

    // A file made again under the name is not the one that was read: nothing is written.
    fake.removeFile("/a.txt", true);
    fake.addFile("/a.txt").attributes = Attr::ReadOnly;
    EXPECT_FALSE(edit->write(*folder, 0).stillListed);
    EXPECT_EQ(fake.entry("/a.txt").attributes, Attr::ReadOnly);
}

} // namespace
} // namespace vennic
