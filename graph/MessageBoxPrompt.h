#pragma once

#include <QString>

class QWidget;

namespace tagwell {

class MessageBoxService;

// Shows an information box with an OK button only: through service when the
// host installed one, otherwise as a modal QMessageBox over parent.
void showOkMessage(MessageBoxService* service, QWidget* parent, const QString& prompt);

}  // namespace tagwell
