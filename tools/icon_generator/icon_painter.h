// The game's icon, drawn procedurally: looking down the well at night, a
// golden ring around the glowing fairy with its lavender wings and a trail
// of sparks. A pure function of the size.
#pragma once

#include "texture_generator/image.h"

RgbaImage paintIcon(int size);
