#include "support/writelimit.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

namespace vennic::test {

std::optional<int> runWithWriteLimit(int64_t bytes, const std::function<int()>& work)
{
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
        // Without this the first write past the limit would end the child with SIGXFSZ
        // instead of failing with EFBIG as the code under test expects.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(bytes), rlim_t(bytes)};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(work());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status))
        return std::nullopt;
    return WEXITSTATUS(status);
}

} // namespace vennic::test
