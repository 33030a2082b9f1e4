#include "NormalUser.h"

#include <sys/wait.h>
#include <unistd.h>

namespace testuser {

namespace {

constexpr uid_t kNobody = 65534;

}  // namespace

bool RunAsNormalUser(const std::function<bool()>& work)
{
    if (::geteuid() != 0)
        return work();
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(2);
        ::_exit(work() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace testuser
