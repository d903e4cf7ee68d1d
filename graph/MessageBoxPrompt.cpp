#include "graph/MessageBoxPrompt.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/MessageBoxService.h"

namespace tagwell {

void showOkMessage(MessageBoxService* service, QWidget* parent, const QString& prompt)
{
    if (service) {
        service->show(prompt.toStdString(), msgbox::OKOnly, std::string());
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), prompt,
                    QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace tagwell
