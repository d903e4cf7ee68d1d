#pragma once

#include <string>
#include <vector>

namespace tagwell {

// Starts the desktop's own tools (network settings, computer name settings)
// for the explorer's Help menu. Programs are started directly, never through
// a command interpreter, and the explorer does not wait for them. The
// program installs SpawnProgramStarter; tests a recording one.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Whether a program of that name can be found: a name on the search path
    // or a path to an executable file.
    virtual bool available(const std::string& program) const = 0;
    // Starts the program with the arguments; true when it was started.
    virtual bool start(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

}  // namespace tagwell
