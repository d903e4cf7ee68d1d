#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "platform/qt/DialogRunner.h"

namespace tagwell {

// A dialog runner for tests: instead of a nested event loop it shows the
// dialog (without blocking), records it, lets the test act on it and returns
// at once.
//
// What run() returns:
// - with a script: the script's return value; the script receives the shown
//   dialog and may click its buttons, type into it or close it;
// - without one: the dialog's result() as it stands.
// The dialog stays as the script left it: a dialog the script did not close is
// still shown after run() returned, as if the user had not finished with it,
// and the test can go on driving it (a control that feeds an open dialog is
// tested that way).
//
//   RecordingDialogRunner runner;
//   DialogRunner::install(&runner);
//   runner.script = [](QDialog& d) { d.reject(); return int(QDialog::Rejected); };
//   control.openSomething();            // returns without a nested loop
//   ASSERT_EQ(runner.opened.size(), 1u);
//   DialogRunner::install(nullptr);
class RecordingDialogRunner : public DialogRunner {
public:
    struct Opening {
        QPointer<QDialog> dialog;  // null once the dialog was destroyed
        QString objectName;
        QString windowTitle;       // as shown when it was opened
    };

    int run(QDialog& dialog) override
    {
        dialog.setModal(true);
        dialog.show();
        opened.push_back({&dialog, dialog.objectName(), dialog.windowTitle()});
        return script ? script(dialog) : dialog.result();
    }

    // The last dialog opened, while it exists.
    QDialog* last() const { return opened.empty() ? nullptr : opened.back().dialog.data(); }

    std::function<int(QDialog&)> script;
    std::vector<Opening> opened;
};

}  // namespace tagwell
