// The game's sounds, each made from code alone: no recording goes into them.
// Single sounds end on silence; the two loops join their end to their start.
#pragma once

#include "synth.h"

Samples chime();         // a bell for a ring, at ring 1's pitch (C5); the player raises it per ring
Samples lowPower();      // two soft falling beeps
Samples powerOut();      // a tone falling three octaves
Samples splash();        // a burst of water and a few bubbles
Samples fanfare();       // a rising arpeggio to a held chord
Samples wingsLoop();     // eight wing beats of rustling air
Samples wellLoop();      // wind in the shaft, two drips and their echo
