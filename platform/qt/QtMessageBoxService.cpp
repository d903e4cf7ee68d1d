#include "platform/qt/QtMessageBoxService.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/DialogRunner.h"

namespace tagwell {

namespace {

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton byPosition[3];
};

ButtonSet buttonsFor(int style)
{
    using B = QMessageBox;
    switch (msgbox::buttonsOf(style)) {
    case msgbox::OKCancel: return {B::Ok | B::Cancel, {B::Ok, B::Cancel, B::NoButton}};
    case msgbox::AbortRetryIgnore: return {B::Abort | B::Retry | B::Ignore, {B::Abort, B::Retry, B::Ignore}};
    case msgbox::YesNoCancel: return {B::Yes | B::No | B::Cancel, {B::Yes, B::No, B::Cancel}};
    case msgbox::YesNo: return {B::Yes | B::No, {B::Yes, B::No, B::NoButton}};
    case msgbox::RetryCancel: return {B::Retry | B::Cancel, {B::Retry, B::Cancel, B::NoButton}};
    default: return {B::Ok, {B::Ok, B::NoButton, B::NoButton}};
    }
}

QMessageBox::Icon iconFor(int style)
{
    switch (msgbox::iconOf(style)) {
    case msgbox::Critical: return QMessageBox::Critical;
    case msgbox::Question: return QMessageBox::Question;
    case msgbox::Exclamation: return QMessageBox::Warning;
    case msgbox::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int resultOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok: return msgbox::OK;
    case QMessageBox::Cancel: return msgbox::Cancel;
    case QMessageBox::Abort: return msgbox::Abort;
    case QMessageBox::Retry: return msgbox::Retry;
    case QMessageBox::Ignore: return msgbox::Ignore;
    case QMessageBox::Yes: return msgbox::Yes;
    case QMessageBox::No: return msgbox::No;
    default: return msgbox::Cancel;
    }
}

}  // namespace

int QtMessageBoxService::show(const std::string& prompt, int style, const std::string& title)
{
    const ButtonSet set = buttonsFor(style);
    QMessageBox box(iconFor(style),
                    title.empty() ? QApplication::applicationName() : QString::fromStdString(title),
                    QString::fromStdString(prompt), set.buttons, m_parent);
    const int defaultIndex = (style & msgbox::DefaultButton3) ? 2 : (style & msgbox::DefaultButton2) ? 1 : 0;
    if (set.byPosition[defaultIndex] != QMessageBox::NoButton)
        box.setDefaultButton(set.byPosition[defaultIndex]);
    return resultOf(static_cast<QMessageBox::StandardButton>(DialogRunner::exec(box)));
}

}  // namespace tagwell
