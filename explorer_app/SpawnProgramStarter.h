#pragma once

#include <string>
#include <vector>

#include "explorer_app/ProgramStarter.h"

namespace tagwell {

// Starts programs with posix_spawnp and the process's environment; a
// background thread collects each one when it exits.
class SpawnProgramStarter : public ProgramStarter {
public:
    bool available(const std::string& program) const override;
    bool start(const std::string& program, const std::vector<std::string>& arguments) override;
};

}  // namespace tagwell
