#pragma once

#include <cstdint>

namespace tagwell {

// How deliveries of one timer may overlap. The value is stored and returned
// by CPacetick::EventSynchronisation; the tick itself always uses a single
// busy flag, so no channel fires while any delivery is under way.
enum EEventSynchronisation : int32_t {
    esNone = 0,
    esIndividual = 1,
    esGlobal = 2,
};

}  // namespace tagwell
