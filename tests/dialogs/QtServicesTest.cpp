// The Qt implementations of the user-interface services.

#include <QCursor>
#include <QGuiApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

#include "core/MGlobal.h"
#include "core/cMousePointer.h"
#include "platform/Dispatcher.h"
#include "platform/Services.h"
#include "platform/qt/QtCursorService.h"
#include "platform/qt/QtDispatcher.h"
#include "platform/qt/QtMessageBoxService.h"
#include "platform/qt/QtPointerService.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtWindowHandle.h"

namespace tagwell::test {
namespace {

// The override cursor's shape, or nothing when no override is up.
std::optional<Qt::CursorShape> overrideShape()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    if (!cursor)
        return std::nullopt;
    return cursor->shape();
}

class QtPointer : public ::testing::Test {
protected:
    void TearDown() override
    {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
};

TEST_F(QtPointer, ShowsShapesAsOneOverrideCursorAndDefaultTakesItDown)
{
    struct Step {
        int shape;
        std::optional<Qt::CursorShape> shown;
    };
    const Step steps[] = {
        {pointer::Hourglass, Qt::WaitCursor},    {pointer::ArrowHourglass, Qt::BusyCursor},
        {pointer::IBeam, Qt::IBeamCursor},       {pointer::Custom, Qt::ArrowCursor},
        {pointer::Default, std::nullopt},        {pointer::Default, std::nullopt},
        {pointer::Hourglass, Qt::WaitCursor},    {pointer::Default, std::nullopt},
    };
    QtPointerService service;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.shape);
        service.setPointer(step.shape);
        EXPECT_EQ(service.pointer(), step.shape);
        EXPECT_EQ(overrideShape(), step.shown);
    }
}

TEST_F(QtPointer, LeavesOtherOverridesInPlace)
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    {
        QtPointerService service;
        service.setPointer(pointer::Hourglass);
        EXPECT_EQ(overrideShape(), Qt::WaitCursor);
        service.setPointer(pointer::Default);
        service.setPointer(pointer::Default);
        EXPECT_EQ(overrideShape(), Qt::CrossCursor);
        service.setPointer(pointer::Hourglass);
    }  // destroyed with its override up
    EXPECT_EQ(overrideShape(), Qt::CrossCursor);
}

TEST_F(QtPointer, TheBusyGuardOfLongOperationsShowsTheHourglassForItsLifetime)
{
    QtPointerService service;
    Services::installPointer(&service);
    {
        cMousePointer busy;
        EXPECT_EQ(overrideShape(), Qt::WaitCursor);
        {
            cMousePointer nested;
            EXPECT_EQ(overrideShape(), Qt::WaitCursor);
        }
        EXPECT_EQ(overrideShape(), Qt::WaitCursor);
    }
    EXPECT_EQ(overrideShape(), std::nullopt);
    Services::installPointer(nullptr);
}

TEST(QtCursor, MovesTheMouseCursor)
{
    QtCursorService service;
    for (ScreenPoint point : {ScreenPoint{10, 20}, ScreenPoint{300, 150}}) {
        service.moveTo(point);
        EXPECT_EQ(service.position(), point);
        EXPECT_EQ(QCursor::pos(), QPoint(point.x, point.y));
    }
}

TEST(QtCursor, GivesTheScreenRectangleOfALiveWidgetByItsHandle)
{
    QtCursorService service;
    QWidget window;
    window.setGeometry(100, 80, 400, 300);
    auto* child = new QWidget(&window);
    child->setGeometry(10, 20, 50, 40);
    window.show();

    const QRect frame = window.frameGeometry();
    EXPECT_EQ(service.windowRect(QtWindowHandle::of(&window)),
              (ScreenRect{frame.left(), frame.top(), frame.left() + frame.width(),
                          frame.top() + frame.height()}));
    const QPoint childOrigin = window.mapToGlobal(QPoint(10, 20));
    EXPECT_EQ(service.windowRect(QtWindowHandle::of(child)),
              (ScreenRect{childOrigin.x(), childOrigin.y(), childOrigin.x() + 50, childOrigin.y() + 40}));
    EXPECT_EQ(QtWindowHandle::widget(QtWindowHandle::of(child)), child);
}

TEST(QtCursor, KnowsNoWindowForNoHandleOrAGoneWidget)
{
    QtCursorService service;
    auto gone = std::make_unique<QWidget>();
    const WindowHandle stale = QtWindowHandle::of(gone.get());
    gone.reset();
    for (WindowHandle handle : {NoWindow, stale, WindowHandle(12345)}) {
        EXPECT_EQ(service.windowRect(handle), std::nullopt);
        EXPECT_EQ(QtWindowHandle::widget(handle), nullptr);
    }
    EXPECT_EQ(QtWindowHandle::of(nullptr), NoWindow);
}

TEST(QtCursor, CentresOnAControlAndComesBack)
{
    QtCursorService service;
    Services::installCursor(&service);
    QWidget window;
    window.setGeometry(100, 80, 400, 300);
    window.show();
    const ScreenPoint start{5, 7};
    service.moveTo(start);

    MGlobal::CentreCursor(QtWindowHandle::of(&window), true);
    const ScreenRect rect = *service.windowRect(QtWindowHandle::of(&window));
    EXPECT_EQ(service.position(), (ScreenPoint{rect.left + (rect.right - rect.left) / 2,
                                               rect.top + (rect.bottom - rect.top) / 2}));
    MGlobal::RestoreCursor();
    EXPECT_EQ(service.position(), start);
    Services::installCursor(nullptr);
}

TEST(QtServicesInstall, InstallsTheQtServicesForItsLifetime)
{
    QWidget mainWindow;
    {
        QtServices services(&mainWindow);
        EXPECT_NE(dynamic_cast<QtMessageBoxService*>(&Services::messageBox()), nullptr);
        EXPECT_NE(dynamic_cast<QtPointerService*>(&Services::pointer()), nullptr);
        EXPECT_NE(dynamic_cast<QtCursorService*>(&Services::cursor()), nullptr);
        EXPECT_NE(dynamic_cast<QtDispatcher*>(&Dispatcher::current()), nullptr);
    }
    EXPECT_EQ(dynamic_cast<QtMessageBoxService*>(&Services::messageBox()), nullptr);
    EXPECT_EQ(dynamic_cast<QtPointerService*>(&Services::pointer()), nullptr);
    EXPECT_EQ(dynamic_cast<QtCursorService*>(&Services::cursor()), nullptr);
    EXPECT_EQ(dynamic_cast<QtDispatcher*>(&Dispatcher::current()), nullptr);
}

}  // namespace
}  // namespace tagwell::test
