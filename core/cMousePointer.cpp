#include "core/cMousePointer.h"

#include "platform/Services.h"

namespace tagwell {

cMousePointer::cMousePointer() : m_remembered(Services::pointer().pointer())
{
    Services::pointer().setPointer(pointer::Hourglass);
}

cMousePointer::~cMousePointer() { Services::pointer().setPointer(m_remembered); }

int cMousePointer::MousePointer() const { return Services::pointer().pointer(); }

void cMousePointer::MousePointer(int shape) { Services::pointer().setPointer(shape); }

}  // namespace tagwell
