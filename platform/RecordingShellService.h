#pragma once

#include <string>
#include <vector>

#include "platform/ShellService.h"

namespace tagwell {

// A shell service for tests: records every request and answers with result.
class RecordingShellService : public ShellService {
public:
    struct Request {
        WindowHandle owner = NoWindow;
        std::string target;
    };

    int32_t open(WindowHandle owner, const std::string& target) override
    {
        requests.push_back({owner, target});
        return result;
    }

    std::vector<Request> requests;
    int32_t result = shell::Opened;
};

}  // namespace tagwell
