#pragma once

#include "platform/filesystem.h"

#include <QString>

#include <array>
#include <optional>

namespace vennic {

/// What the program was asked on its command line: `vennic [LEFT [RIGHT]]`, or --help or
/// --version. The folders keep the bytes they were given, so a name that is not UTF-8 is
/// listed as the system spells it.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    /// The folder for each pane, absolute; none where the start's own folder is listed.
    std::array<std::optional<NativeString>, 2> folders;
    /// What to print for Help, Version and Error.
    QString text;

    static CommandLine parse(int argc, const char* const* argv);
};

} // namespace vennic
