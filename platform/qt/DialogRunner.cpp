#include "platform/qt/DialogRunner.h"

#include <QDialog>

namespace tagwell {

namespace {
DialogRunner* g_runner = nullptr;
}  // namespace

int ModalDialogRunner::run(QDialog& dialog) { return dialog.exec(); }

DialogRunner& DialogRunner::current()
{
    static ModalDialogRunner modal;
    return g_runner ? *g_runner : modal;
}

void DialogRunner::install(DialogRunner* runner) { g_runner = runner; }

int DialogRunner::exec(QDialog& dialog) { return current().run(dialog); }

}  // namespace tagwell
