// Forked test bodies.
#include "support/ForkedChild.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace velkor {
namespace {

// Drops every privilege for good: groups first, while still allowed to.
bool becomeUser(uid_t user) {
    if (::geteuid() != 0) {
        return true;  // already unprivileged: file modes apply as they are
    }
    return ::setgroups(0, nullptr) == 0 && ::setresgid(user, user, user) == 0 &&
           ::setresuid(user, user, user) == 0 && ::geteuid() == user;
}

}  // namespace

bool ForkedChild::run(const std::function<bool()>& body, unsigned deadlineSeconds,
                      std::optional<uid_t> user) {
    const pid_t pid = ::fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        // _exit: the child must not run the test's destructors (they remove its folders).
        ::alarm(deadlineSeconds);
        if (user && !becomeUser(*user)) {
            ::_exit(2);
        }
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace velkor
