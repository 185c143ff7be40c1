// Bringing up the windowing library, the game window, its GL context and the
// GL entry points. Each failure ends the process at once with status 1.
#pragma once

struct App;

// Creates the window from the window settings, makes its context current,
// installs the framebuffer-size callback, captures the cursor and loads GL.
// The window's framebuffer has `samples` samples per pixel, unless quality
// = auto, seeing a software renderer, lowers the renderer settings (with one
// line) and makes the window again with one.
void openMainWindow(App& app, int samples = 4);

// The GL side of start-up once the window exists: render targets of the
// framebuffer's size, fullscreen if configured, the initial render state, GL
// debug lines, the framework check, and the shortcut keys.
void prepareRendering(App& app);

// Releases everything that owns GL objects (level, render targets, the
// framework's program); the context must still be current.
void releaseRendering(App& app);

// Captures the cursor again once the level is built. Capturing warps it to
// the window's centre once the window is mapped; this lets that motion arrive
// and reads the cursor again, so the first frame does not turn the view.
void settleCapturedCursor(App& app);

// True when GLIMMERDEEP_GL_DEBUG is "1": the window gets a debug context and
// GL_DEBUG_OUTPUT is on, so every GL error reaches the console. Without it
// the driver decides which messages arrive (Mesa sends none).
bool glDebugRequested();

// Prints GL debug messages as they arrive, when the driver offers them.
void registerDebugOutput();
