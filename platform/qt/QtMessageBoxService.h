#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/MessageBoxService.h"

namespace tagwell {

// Message boxes shown with QMessageBox, modal over the given parent window.
// An empty title becomes the application's name.
class QtMessageBoxService : public MessageBoxService {
public:
    explicit QtMessageBoxService(QWidget* parent = nullptr) : m_parent(parent) {}
    int show(const std::string& prompt, int style, const std::string& title) override;

private:
    QPointer<QWidget> m_parent;
};

}  // namespace tagwell
