#pragma once

#include "platform/PointerService.h"

namespace tagwell {

// The application-wide pointer of a Qt host, shown as an override cursor.
//
// Setting a shape other than pointer::Default puts up one override cursor,
// or changes it while it is up; pointer::Default takes it down again, so the
// widgets' own cursors show. The service never takes down more overrides than
// it put up (at most one), so overrides of other code stay in place. A number without
// a Qt shape (pointer::Custom, unknown numbers) is remembered and shows the
// plain arrow. pointer() gives the number last set. The override is taken
// down when the service is destroyed. Owner thread only.
class QtPointerService : public PointerService {
public:
    QtPointerService() = default;
    ~QtPointerService() override;
    QtPointerService(const QtPointerService&) = delete;
    QtPointerService& operator=(const QtPointerService&) = delete;

    int pointer() const override { return m_shape; }
    void setPointer(int shape) override;

private:
    void restore();

    int m_shape = pointer::Default;
    bool m_overriding = false;
};

}  // namespace tagwell
