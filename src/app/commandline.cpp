#include "app/commandline.h"

#include <filesystem>
#include <string_view>

namespace vennic {

namespace {

const char* const Usage = "Usage: vennic [LEFT [RIGHT]]\n";

QString helpText()
{
    return QString::fromLatin1(Usage) +
           QStringLiteral(
               "Shows two folders side by side: LEFT in the left pane and RIGHT in the right "
               "pane.\nA pane without a folder given shows the current folder.\n\n"
               "Options:\n"
               "  -h, --help     show this help and end\n"
               "  -v, --version  show the version and end\n"
               "  --             take every argument after it as a folder\n");
}

CommandLine mistake(const QString& what)
{
    return {CommandLine::Action::Error,
            {},
            QStringLiteral("vennic: %1\n%2Try 'vennic --help'.\n").arg(what, QLatin1String(Usage))};
}

} // namespace

CommandLine CommandLine::parse(int argc, const char* const* argv)
{
    // The arguments are read by hand rather than as QStrings: a folder's bytes reach the
    // listing untouched whatever the locale's encoding makes of them.
    CommandLine line;
    size_t given = 0;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (options && arg == "--") {
            options = false;
            continue;
        }
        if (options && arg.size() > 1 && arg.front() == '-') {
            if (arg == "-h" || arg == "--help")
                return {Action::Help, {}, helpText()};
            if (arg == "-v" || arg == "--version")
                return {Action::Version,
                        {},
                        QStringLiteral("vennic %1\n").arg(QLatin1String(VENNIC_VERSION))};
            return mistake(QStringLiteral("unknown option '%1'")
                               .arg(QString::fromLocal8Bit(arg.data(), qsizetype(arg.size()))));
        }
        if (arg.empty())
            return mistake(QStringLiteral("an empty folder name was given"));
        if (given == line.folders.size())
            return mistake(QStringLiteral("at most two folders are shown"));
        std::error_code error;
        std::filesystem::path folder = std::filesystem::absolute(std::filesystem::path(arg), error);
        if (error)
            folder = std::filesystem::path(arg);
        // "." and "dir/" name the folder as the path box shows it, without the dot or slash.
        folder = folder.lexically_normal();
        if (!folder.has_filename() && folder.has_relative_path())
            folder = folder.parent_path();
        line.folders[given++] = folder.native();
    }
    return line;
}

} // namespace vennic
