#include "platform/qt/QtServices.h"

#include "platform/Dispatcher.h"
#include "platform/Services.h"
#include "platform/qt/QtCursorService.h"
#include "platform/qt/QtDispatcher.h"
#include "platform/qt/QtMessageBoxService.h"
#include "platform/qt/QtPointerService.h"

namespace tagwell {

QtServices::QtServices(QWidget* mainWindow)
    : m_messageBox(std::make_unique<QtMessageBoxService>(mainWindow)),
      m_pointer(std::make_unique<QtPointerService>()),
      m_cursor(std::make_unique<QtCursorService>()),
      m_dispatcher(std::make_unique<QtDispatcher>())
{
    Services::installMessageBox(m_messageBox.get());
    Services::installPointer(m_pointer.get());
    Services::installCursor(m_cursor.get());
    Dispatcher::install(m_dispatcher.get());
}

QtServices::~QtServices()
{
    if (&Dispatcher::current() == m_dispatcher.get())
        Dispatcher::install(nullptr);
    if (&Services::cursor() == m_cursor.get())
        Services::installCursor(nullptr);
    if (&Services::pointer() == m_pointer.get())
        Services::installPointer(nullptr);
    if (&Services::messageBox() == m_messageBox.get())
        Services::installMessageBox(nullptr);
}

}  // namespace tagwell
