#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace vennic::test {

/// Runs `work` in a forked child (no exec) in which every write past `bytes` into a file
/// fails, as on a full disk, and gives the child's exit code: the number `work` returned,
/// masked to 0-255. Empty when the child could not be started or did not exit normally.
/// Nothing of the child's memory reaches the parent; it ends with _exit.
std::optional<int> runWithWriteLimit(int64_t bytes, const std::function<int()>& work);

} // namespace vennic::test
