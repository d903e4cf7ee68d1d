#pragma once

class QDialog;

namespace tagwell {

// The one way the toolkit shows a dialog modally.
//
// Controls and dialogs never call QDialog::exec() themselves; they call
// DialogRunner::exec(dialog), which hands the dialog to the installed runner.
// The default runner calls QDialog::exec(): a nested event loop that returns
// when the dialog is done, with its result code. Tests install a runner that
// shows the dialog, lets the test act on it and returns at once (see
// RecordingDialogRunner), so that nothing in a test waits inside a nested
// loop.
//
// The runner is not owned; installing nullptr goes back to the default. Owner
// thread only. A runner must not throw.
class DialogRunner {
public:
    virtual ~DialogRunner() = default;

    // Shows the dialog modally and returns its result code
    // (QDialog::Accepted, QDialog::Rejected or the code given to done()).
    virtual int run(QDialog& dialog) = 0;

    // Shows the dialog through the installed runner.
    static int exec(QDialog& dialog);

    static DialogRunner& current();
    static void install(DialogRunner* runner);
};

// The default: QDialog::exec().
class ModalDialogRunner : public DialogRunner {
public:
    int run(QDialog& dialog) override;
};

}  // namespace tagwell
