// The game's six textures, drawn procedurally. Each painter is a pure
// function of the size: same size, same pixels. All but the cloud tile
// seamlessly, since the game samples them with GL_REPEAT.
#pragma once

#include "image.h"

RgbaImage paintLightBlue(int size);      // fairy body: soft pale blue with a faint sparkle
RgbaImage paintGlitterYellow(int size);  // rings: gold with glitter specks
RgbaImage paintWellWall(int size);       // well: stone blocks in darker mortar
RgbaImage paintLightPurple(int size);    // wings: soft lavender with fine veins
RgbaImage paintGreenCloth(int size);     // flag: green woven cloth
RgbaImage paintCloud(int size);          // small cloud: white puffs on transparent ground
