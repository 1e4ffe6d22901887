#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace vennic::test {

/// The user and group "nobody" that access-denied tests run as.
constexpr uid_t kNobodyUid = 65534;
constexpr gid_t kNobodyGid = 65534;

/// What happened in the child of runAsNobody().
struct AsNobodyResult {
    /// True when the child ran the work without the right to read past permission bits.
    bool dropped = false;
    /// How the rights were dropped: "uid 65534" (setresgid/setresuid), or, when that fails,
    /// "root without DAC capabilities" (capset clears CAP_DAC_OVERRIDE and
    /// CAP_DAC_READ_SEARCH, so permission bits apply to the child as to any user). Empty when
    /// neither worked; `reason` then says why.
    std::string how;
    std::string reason;
    /// True when the work ran to its end (returned, did not throw or die).
    bool finished = false;
    /// The text the work returned, or the exception's text when it threw.
    std::string output;
};

/// Runs `work` in a forked child (no exec) that first drops to uid/gid 65534, falling back to
/// clearing root's DAC capabilities when the drop is refused. Nothing of the child's memory
/// reaches the parent: the work reports by its returned text, which travels back through a
/// pipe. The child ends with _exit, so no destructor or test framework code runs twice.
///
/// Callers must never pass when `dropped` is false: print `reason` and fail, or assert through
/// another documented path.
AsNobodyResult runAsNobody(const std::function<std::string()>& work);

} // namespace vennic::test
