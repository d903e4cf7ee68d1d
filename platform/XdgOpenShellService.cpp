#include "platform/XdgOpenShellService.h"

#include <cerrno>
#include <spawn.h>
#include <system_error>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace tagwell {

namespace {

constexpr const char* RelativePrefix = "./";
constexpr char OptionStart = '-';

int32_t codeForSpawnError(int error)
{
    return error == ENOMEM || error == EAGAIN ? shell::OutOfResources : shell::NoAssociation;
}

int waitForExit(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return status;
}

void collectInBackground(pid_t child)
{
    try {
        std::thread([child] { waitForExit(child); }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the opener is left to be collected at exit.
    }
}

}  // namespace

std::string XdgOpenShellService::argumentFor(const std::string& target)
{
    return !target.empty() && target.front() == OptionStart ? RelativePrefix + target : target;
}

int32_t XdgOpenShellService::open(WindowHandle /*owner*/, const std::string& target)
{
    if (target.empty() || target.find('\0') != std::string::npos)
        return shell::FileNotFound;
    std::string program = m_opener;
    std::string argument = argumentFor(target);
    char* argv[] = {program.data(), argument.data(), nullptr};

    pid_t child = 0;
    const int error = ::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv, environ);
    if (error != 0)
        return codeForSpawnError(error);
    if (m_completion == Completion::Detach) {
        collectInBackground(child);
        return shell::Opened;
    }
    const int status = waitForExit(child);
    return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? shell::Opened : shell::NoAssociation;
}

}  // namespace tagwell
