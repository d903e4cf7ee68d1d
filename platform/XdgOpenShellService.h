#pragma once

#include <string>
#include <utility>

#include "platform/ShellService.h"

namespace tagwell {

// Opens documents with the desktop's opener program ("xdg-open"), started
// directly with the text as its only argument: no command interpreter sees
// the text, so blanks, quotes and ";" reach the opener unchanged. A text
// starting with "-" is a relative path and is passed as "./" + text, so that
// the opener cannot take it for an option.
//
// By default the call returns once the opener has started (shell::Opened) and
// a background thread collects its exit; with Completion::Wait it waits for
// the opener and gives shell::Opened only when it exited with 0.
class XdgOpenShellService : public ShellService {
public:
    enum class Completion { Detach, Wait };
    static constexpr const char* DefaultOpener = "xdg-open";

    explicit XdgOpenShellService(std::string opener = DefaultOpener, Completion completion = Completion::Detach)
        : m_opener(std::move(opener)), m_completion(completion)
    {
    }

    int32_t open(WindowHandle owner, const std::string& target) override;

    // The argument the opener receives for a text.
    static std::string argumentFor(const std::string& target);

private:
    std::string m_opener;
    Completion m_completion;
};

}  // namespace tagwell
