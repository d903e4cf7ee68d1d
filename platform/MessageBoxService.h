#pragma once

#include <string>

namespace tagwell {

// Modal message boxes. A style is the sum of one button set, one icon and one
// default-button choice, with the classic automation numbers; the result is
// the number of the button pressed. An empty title means the host's default
// title.
//
// The interface is header-only so that every deliverable can take one without
// linking another: hosts install the Qt implementation, tests a recording fake.
namespace msgbox {
enum Style : int {
    OKOnly = 0,
    OKCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256,
    DefaultButton3 = 512,
};
enum Result : int { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
constexpr int buttonsOf(int style) { return style & 7; }
constexpr int iconOf(int style) { return style & 0x70; }
}  // namespace msgbox

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows the box and waits until it is closed; returns a msgbox::Result.
    virtual int show(const std::string& prompt, int style, const std::string& title) = 0;
};

// A service that shows nothing and answers with the first button of each box:
// what runs when no host installed a service (a program without a display).
class SilentMessageBoxService : public MessageBoxService {
public:
    int show(const std::string&, int style, const std::string&) override
    {
        switch (msgbox::buttonsOf(style)) {
        case msgbox::AbortRetryIgnore: return msgbox::Abort;
        case msgbox::YesNoCancel:
        case msgbox::YesNo: return msgbox::Yes;
        case msgbox::RetryCancel: return msgbox::Retry;
        default: return msgbox::OK;
        }
    }
};

}  // namespace tagwell
