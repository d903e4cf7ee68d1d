#include "explorer_app/SpawnProgramStarter.h"

#include <cerrno>
#include <cstdlib>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tagwell {

namespace {

constexpr char PathSeparator = ':';

bool isExecutable(const std::string& path) { return ::access(path.c_str(), X_OK) == 0; }

void collectInBackground(pid_t child)
{
    try {
        std::thread([child] {
            int status = 0;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child is collected when the explorer exits.
    }
}

}  // namespace

bool SpawnProgramStarter::available(const std::string& program) const
{
    if (program.empty())
        return false;
    if (program.find('/') != std::string::npos)
        return isExecutable(program);
    const char* searchPath = std::getenv("PATH");
    if (!searchPath)
        return false;
    std::istringstream folders(searchPath);
    std::string folder;
    while (std::getline(folders, folder, PathSeparator)) {
        if (!folder.empty() && isExecutable(folder + "/" + program))
            return true;
    }
    return false;
}

bool SpawnProgramStarter::start(const std::string& program, const std::vector<std::string>& arguments)
{
    std::vector<std::string> texts{program};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    pid_t child = 0;
    if (::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    collectInBackground(child);
    return true;
}

}  // namespace tagwell
