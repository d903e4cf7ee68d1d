#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tagwell {

class SimTag;

// One branch of a simulated address space: its sub-branches and leaves in the
// order they were added, each also indexed by its name in lower case so that
// a lookup in a branch of 100,000 leaves costs one hash.
struct SimBranch {
    std::string name;
    SimBranch* parent = nullptr;
    std::vector<std::unique_ptr<SimBranch>> branches;
    std::unordered_map<std::string, SimBranch*> branchByName;
    std::vector<SimTag*> leaves;
    std::unordered_map<std::string, SimTag*> leafByName;
};

}  // namespace tagwell
