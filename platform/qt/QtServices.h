#pragma once

#include <memory>

class QWidget;

namespace tagwell {

class QtCursorService;
class QtDispatcher;
class QtMessageBoxService;
class QtPointerService;

// Everything a Qt host installs for the code without Qt, in one object:
// message boxes over the main window, the hourglass and other pointers as
// override cursors, the cursor position and window rectangles, and the
// dispatcher on this thread's event loop. Documents keep opening through the
// desktop's opener program, the default shell.
//
// Create it on the GUI thread after the QApplication and before the first
// control; it uninstalls what it installed when destroyed:
//
//   QApplication app(argc, argv);
//   QMainWindow window;
//   tagwell::QtServices services(&window);
//   ...
//   return app.exec();
class QtServices {
public:
    explicit QtServices(QWidget* mainWindow = nullptr);
    ~QtServices();
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

private:
    std::unique_ptr<QtMessageBoxService> m_messageBox;
    std::unique_ptr<QtPointerService> m_pointer;
    std::unique_ptr<QtCursorService> m_cursor;
    std::unique_ptr<QtDispatcher> m_dispatcher;
};

}  // namespace tagwell
