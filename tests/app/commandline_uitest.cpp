// The program's command line: the folders of the two panes, help, the version and mistakes.
#include "app/commandline.h"
#include "support/formfixture.h"

#include <QLineEdit>

#include <filesystem>
#include <vector>

namespace vennic {
namespace {

CommandLine parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "vennic");
    return CommandLine::parse(int(args.size()), args.data());
}

TEST(CommandLine, FoldersHelpVersionAndMistakes)
{
    using Action = CommandLine::Action;
    const std::string here = std::filesystem::current_path().native();
    struct Case {
        std::vector<const char*> args;
        Action action;
        std::optional<std::string> left, right;
        const char* says;
    };
    const Case cases[] = {
        {{}, Action::Run, {}, {}, ""},
        {{"/srv/a/"}, Action::Run, "/srv/a", {}, ""},
        {{"/srv/a", "b/../c"}, Action::Run, "/srv/a", here + "/c", ""},
        {{"."}, Action::Run, here, {}, ""},
        {{"--", "-dash"}, Action::Run, here + "/-dash", {}, ""},
        {{"caf\xe9"}, Action::Run, here + "/caf\xe9", {}, ""},
        {{"--help"}, Action::Help, {}, {}, "Usage: vennic [LEFT [RIGHT]]"},
        {{"a", "-h"}, Action::Help, {}, {}, "Usage: vennic [LEFT [RIGHT]]"},
        {{"--version"}, Action::Version, {}, {}, "vennic " VENNIC_VERSION},
        {{"--colour"}, Action::Error, {}, {}, "unknown option '--colour'"},
        {{"a", "b", "c"}, Action::Error, {}, {}, "at most two folders"},
        {{""}, Action::Error, {}, {}, "an empty folder name"},
    };
    for (const Case& c : cases) {
        const CommandLine line = parse(c.args);
        const std::string what = c.args.empty() ? "(none)" : c.args.front();
        EXPECT_EQ(line.action, c.action) << what;
        EXPECT_EQ(line.folders[0], c.left) << what;
        EXPECT_EQ(line.folders[1], c.right) << what;
        EXPECT_TRUE(line.text.contains(QString::fromLatin1(c.says))) << what;
    }
}

class StartFolders : public test::FormFixture {
protected:
    void prepare() override { m_tmp.fileWithContent("left/a.txt", "a"); }
};

TEST_F(StartFolders, EachPaneListsItsFolderAndAMissingOneSaysSo)
{
    MainFormOptions options = FormFixture::options(m_prompts);
    options.startFolders = {m_tmp.pathOf("left"), m_tmp.pathOf("gone")};
    m_form = std::make_unique<MainForm>(std::move(options));
    EXPECT_EQ(names(0, false), (std::set<QString>{"a.txt"}));
    EXPECT_EQ(m_form->LVPATH[1]->text(), path("gone"));
    EXPECT_EQ(rows(1).rowCount(), 0);
    EXPECT_FALSE(m_prompts->messages().isEmpty());
}

} // namespace
} // namespace vennic
