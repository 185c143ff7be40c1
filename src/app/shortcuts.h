// The window's events as a frame applies them: each shortcut key flips its
// switch and makes the window and the run follow (fullscreen, the cursor,
// quitting, pausing, a new run); losing the focus pauses, a click resumes.
#pragma once

#include "window_events.h"

#include <ostream>

struct App;

// Applies the events in order; "Paused", "Resumed" and "Restarted" go to `console`.
void applyWindowEvents(App& app, const WindowEvents& events, std::ostream& console);
