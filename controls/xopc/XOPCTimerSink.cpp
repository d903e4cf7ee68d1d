#include "controls/xopc/XOPCTimerSink.h"

namespace tagwell {

XOPCTimerSink::XOPCTimerSink(Handler displayUpdate, Handler collectionUpdate, Handler stateWatch)
    : m_displayUpdate(std::move(displayUpdate)),
      m_collectionUpdate(std::move(collectionUpdate)),
      m_stateWatch(std::move(stateWatch))
{
}

void XOPCTimerSink::Detach()
{
    m_displayUpdate = nullptr;
    m_collectionUpdate = nullptr;
    m_stateWatch = nullptr;
}

void XOPCTimerSink::Timer1Tick() { run(m_displayUpdate); }
void XOPCTimerSink::Timer2Tick() { run(m_collectionUpdate); }
void XOPCTimerSink::Timer3Tick() { run(m_stateWatch); }

void XOPCTimerSink::run(const Handler& handler)
{
    if (!handler)
        return;
    try {
        handler();
    } catch (...) {
        // A tick handler keeps its own failures; nothing goes back to the timer.
    }
}

}  // namespace tagwell
