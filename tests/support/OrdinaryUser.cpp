#include "support/OrdinaryUser.h"

#include <sys/wait.h>
#include <unistd.h>

namespace trovelin::testing {

int runAsOrdinaryUser(const std::function<int()>& check)
{
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        // 255 stands for "could not become the user", out of the range checks use.
        if (::geteuid() == 0 && (::setgid(ordinaryUserId) != 0 || ::setuid(ordinaryUserId) != 0)) ::_exit(255);
        ::_exit(check());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255) return -1;
    return WEXITSTATUS(status);
}

}  // namespace trovelin::testing
