#pragma once

#include <functional>

namespace vennic::test {

/// Runs `call` and gives the number of the FsError it throws, or 0 when it throws none.
int errorNumber(const std::function<void()>& call);

} // namespace vennic::test
