#include "platform/qt/QtPointerService.h"

#include <QCursor>
#include <QGuiApplication>

namespace tagwell {

namespace {

Qt::CursorShape qtShapeOf(int shape)
{
    switch (shape) {
    case pointer::Cross: return Qt::CrossCursor;
    case pointer::IBeam: return Qt::IBeamCursor;
    case pointer::SizeAll: return Qt::SizeAllCursor;
    case pointer::SizeNESW: return Qt::SizeBDiagCursor;
    case pointer::SizeNS: return Qt::SizeVerCursor;
    case pointer::SizeNWSE: return Qt::SizeFDiagCursor;
    case pointer::SizeWE: return Qt::SizeHorCursor;
    case pointer::UpArrow: return Qt::UpArrowCursor;
    case pointer::Hourglass: return Qt::WaitCursor;
    case pointer::NoDrop: return Qt::ForbiddenCursor;
    case pointer::ArrowHourglass: return Qt::BusyCursor;
    case pointer::ArrowQuestion: return Qt::WhatsThisCursor;
    default: return Qt::ArrowCursor;
    }
}

}  // namespace

QtPointerService::~QtPointerService() { restore(); }

void QtPointerService::setPointer(int shape)
{
    m_shape = shape;
    if (shape == pointer::Default) {
        restore();
        return;
    }
    if (!qGuiApp)
        return;
    const QCursor cursor(qtShapeOf(shape));
    if (m_overriding) {
        QGuiApplication::changeOverrideCursor(cursor);
    } else {
        QGuiApplication::setOverrideCursor(cursor);
        m_overriding = true;
    }
}

void QtPointerService::restore()
{
    if (m_overriding && qGuiApp)
        QGuiApplication::restoreOverrideCursor();
    m_overriding = false;
}

}  // namespace tagwell
