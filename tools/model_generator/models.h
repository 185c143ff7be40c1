// The three OBJ models of the level, built in their own model frames:
// the fairy's wings, the finish flag and the small cloud it stands on.
#pragma once

#include "obj_builder.h"

// Two thin, two-sided wings spreading along -x and +x from the origin,
// about 5 units across and 2.4 units high, swept slightly towards -z (behind
// the fairy, whose front is +z).
ObjBuilder buildWings();

// A pole on the y axis topped by a ball, with a waving two-sided cloth of
// about 2.4 by 1.6 units along +x near the top. The pole reaches below
// y = 0 so that, placed at the finish point, it stands in the cloud below.
ObjBuilder buildFlag();

// A puffy cloud of overlapping squashed spheres, centred at the origin,
// about 700 units across and 250 units high.
ObjBuilder buildCloud();
