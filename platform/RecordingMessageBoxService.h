#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/MessageBoxService.h"

namespace tagwell {

// A message-box service for tests: records every box it is asked to show and
// answers from a queue of scripted results (the first button when the queue
// is empty).
class RecordingMessageBoxService : public MessageBoxService {
public:
    struct Shown {
        std::string prompt;
        int style = 0;
        std::string title;
    };

    int show(const std::string& prompt, int style, const std::string& title) override
    {
        shown.push_back({prompt, style, title});
        if (!answers.empty()) {
            int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return SilentMessageBoxService().show(prompt, style, title);
    }

    std::vector<std::string> prompts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : shown)
            texts.push_back(box.prompt);
        return texts;
    }

    std::vector<Shown> shown;
    std::deque<int> answers;
};

}  // namespace tagwell
