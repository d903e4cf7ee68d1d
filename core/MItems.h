#pragma once

#include "core/Trackable.h"

namespace tagwell {
namespace MItems {

// The owner behind a stored reference, or nullptr when the reference is
// empty or the owner has gone. Callbacks are skipped when it gives none.
template <class T>
T* ResolveOwner(const OwnerRef<T>& stored)
{
    return stored.resolve();
}

}  // namespace MItems
}  // namespace tagwell
