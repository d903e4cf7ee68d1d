#pragma once

#include <set>
#include <string>
#include <vector>

#include "explorer_app/ProgramStarter.h"

namespace tagwell::test {

// A program starter for tests: the programs in `installed` are found, every
// start is recorded and answered with `starts`.
class RecordingProgramStarter : public ProgramStarter {
public:
    struct Start {
        std::string program;
        std::vector<std::string> arguments;
        bool operator==(const Start&) const = default;
    };

    bool available(const std::string& program) const override { return installed.count(program) != 0; }
    bool start(const std::string& program, const std::vector<std::string>& arguments) override
    {
        started.push_back({program, arguments});
        return starts;
    }

    std::set<std::string> installed;
    bool starts = true;
    std::vector<Start> started;
};

}  // namespace tagwell::test
