#pragma once

namespace tagwell {

// Shows the hourglass for as long as it lives. Creating one remembers the
// screen's current pointer and shows the hourglass; destroying it puts the
// remembered pointer back, so guards nest: the outermost one restores what
// was shown before the first. Works through the installed pointer service;
// owner thread only.
//
//     {
//         cMousePointer busy;   // hourglass
//         ... long operation ...
//     }                         // pointer as before
class cMousePointer {
public:
    cMousePointer();
    ~cMousePointer();
    cMousePointer(const cMousePointer&) = delete;
    cMousePointer& operator=(const cMousePointer&) = delete;

    // The screen's pointer shape (pointer:: numbers) and a way to change it
    // while the guard lives; the remembered pointer still returns at the end.
    int MousePointer() const;
    void MousePointer(int shape);

private:
    int m_remembered;
};

}  // namespace tagwell
