#pragma once

#include "automation/sim/SimAddressSpace.h"

namespace tagwell {

// The tags every simulated server starts with.
//
// A hierarchical space gets the demonstration tree:
//   SimulatePLC.PHASED.Ramp1..Ramp5   64-bit float ramps 0..100 (EU 0..100 %),
//                                     8 s period, each a fifth of a period apart
//   SimulatePLC.BOOL.In1, In2         read-only Boolean toggles (2 s, 3 s)
//   SimulatePLC.BOOL.Out1, Out2       read/write Booleans
//   SimulatePLC.RAMP.*, SINE.*, RANDOM.*  generated signals of every scalar type
//   SimulatePLC.STRING.Cycle          read-only text that steps every 5 s
//   SimulatePLC.ARRAY.*               generated arrays
//   Static.*                          read/write values of every type, arrays
//                                     and analog values with EU limits
//   Access.ReadOnly, WriteOnly, ReadWrite
//   Plant.Area1.Line1 ...             a deeper tree of motors and tanks
// A flat space gets a short list of leaves named by their whole item ID.
class SimCatalog {
public:
    static void populate(SimAddressSpace& space);

private:
    static void addDemonstration(SimAddressSpace& space);
    static void addSignals(SimAddressSpace& space);
    static void addStatics(SimAddressSpace& space);
    static void addPlant(SimAddressSpace& space);
    static void addFlat(SimAddressSpace& space);
};

}  // namespace tagwell
