#pragma once

namespace tagwell {

// The screen's mouse pointer, by the classic automation pointer numbers.
namespace pointer {
enum Shape : int {
    Default = 0,
    Arrow = 1,
    Cross = 2,
    IBeam = 3,
    SizeAll = 5,
    SizeNESW = 6,
    SizeNS = 7,
    SizeNWSE = 8,
    SizeWE = 9,
    UpArrow = 10,
    Hourglass = 11,
    NoDrop = 12,
    ArrowHourglass = 13,
    ArrowQuestion = 14,
    Custom = 99,
};
}  // namespace pointer

// Shows a pointer shape over the whole application and tells which one is
// shown. Hosts install their implementation; runs on the owner thread.
class PointerService {
public:
    virtual ~PointerService() = default;
    virtual int pointer() const = 0;
    virtual void setPointer(int shape) = 0;
};

// What runs when no host installed a service: nothing is shown, the shape is
// only remembered, so that a guard restores what it found.
class RememberingPointerService : public PointerService {
public:
    int pointer() const override { return m_shape; }
    void setPointer(int shape) override { m_shape = shape; }

private:
    int m_shape = pointer::Default;
};

}  // namespace tagwell
