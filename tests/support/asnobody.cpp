#include "support/asnobody.h"

#include <grp.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

namespace vennic::test {

namespace {

void writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}

// Becomes uid/gid 65534 for good; true only when root can no longer be regained.
bool dropToNobody(std::string& reason)
{
    if (setgroups(0, nullptr) != 0 || setresgid(kNobodyGid, kNobodyGid, kNobodyGid) != 0 ||
        setresuid(kNobodyUid, kNobodyUid, kNobodyUid) != 0) {
        reason = std::string("setresgid/setresuid to 65534 failed: ") + std::strerror(errno);
        return false;
    }
    if (getuid() != kNobodyUid || geteuid() != kNobodyUid || setresuid(0, 0, 0) == 0) {
        reason = "the process still holds root after the drop";
        return false;
    }
    return true;
}

// Clears the capabilities that let root read and write past permission bits.
bool dropDacCapabilities(std::string& reason)
{
    __user_cap_header_struct header{};
    header.version = _LINUX_CAPABILITY_VERSION_3;
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0) {
        reason += std::string("; capget failed: ") + std::strerror(errno);
        return false;
    }
    const unsigned mask =
        (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
    data[0].effective &= ~mask;
    data[0].permitted &= ~mask;
    data[0].inheritable &= ~mask;
    if (syscall(SYS_capset, &header, data) != 0) {
        reason += std::string("; capset failed: ") + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace

AsNobodyResult runAsNobody(const std::function<std::string()>& work)
{
    AsNobodyResult result;
    int fds[2];
    if (pipe(fds) != 0) {
        result.reason = std::string("pipe failed: ") + std::strerror(errno);
        return result;
    }
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        result.reason = std::string("fork failed: ") + std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return result;
    }
    if (pid == 0) {
        close(fds[0]);
        std::string reason;
        std::string how;
        if (dropToNobody(reason))
            how = "uid 65534";
        else if (dropDacCapabilities(reason))
            how = "root without DAC capabilities";
        if (how.empty()) {
            writeAll(fds[1], "NO " + reason + "\n");
            _exit(4);
        }
        writeAll(fds[1], "OK " + how + "\n" + reason + "\n");
        int code = 0;
        try {
            writeAll(fds[1], work());
        } catch (const std::exception& e) {
            writeAll(fds[1], std::string("exception: ") + e.what());
            code = 3;
        } catch (...) {
            writeAll(fds[1], "unknown exception");
            code = 3;
        }
        close(fds[1]);
        _exit(code);
    }

    close(fds[1]);
    std::string all;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        all.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }

    const size_t firstEnd = all.find('\n');
    const std::string first = all.substr(0, firstEnd);
    if (first.rfind("OK ", 0) == 0) {
        result.dropped = true;
        result.how = first.substr(3);
        const size_t secondEnd = all.find('\n', firstEnd + 1);
        result.reason = all.substr(firstEnd + 1, secondEnd - firstEnd - 1);
        result.output = secondEnd == std::string::npos ? std::string() : all.substr(secondEnd + 1);
    } else {
        result.reason = first.rfind("NO ", 0) == 0 ? first.substr(3) : "the child gave no answer";
    }
    result.finished = result.dropped && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (result.dropped && !WIFEXITED(status))
        result.output += "\n(child ended by signal " + std::to_string(WTERMSIG(status)) + ")";
    return result;
}

} // namespace vennic::test
