// Replays: a run written down as the game's input record of every frame,
// enough to play it again exactly. A small line-based text format:
//
//   glimmerdeep-replay 2
//   game 1.1.0
//   camera <fov> <yaw> <pitch> <mouse sensitivity> <invert y 0|1>
//   seed <particle seed>
//   cursor <x> <y>
//   course <16 hex digits: the hash of the course's file> <course name>
//   [mode player]    (recorded with the menus; absent: without them)
//   frame <time step> <held keys> <cursor x> <cursor y> <width> <height> [k<key>|click|focus-lost]...
//   ...
//   end <run hash>
//
// Held keys are bits: 1 W, 2 S, 4 A, 8 D, 16 Space, 32 Left Shift; k<key> is
// a GLFW key code released (k-1, a key without a name that earlier builds
// wrote, reads as none). Angles and cursors must stay finite as floats. The
// course line is new in format 2: a replay without it (format 1) was played
// on the classic course, whatever its file held then. A
// replay that stops after a whole frame line (a run cut short) plays up to
// there.
// Formatting and parsing are pure; parseReplay never trusts the file.
#pragma once

#include "window_events.h"
#include "game/camera_settings.h"
#include "game/course_id.h"
#include "game/input.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char* replayFormatName = "glimmerdeep-replay";
inline constexpr int replayFormatVersion = 2;

struct ReplayHeader {
    std::string gameVersion;
    CameraSettings camera;  // the values that change the run; near and far do not
    std::uint32_t seed = 0;  // the particles' random engine
    CursorPosition startCursor;  // where the cursor was before the first frame
    std::optional<CourseId> course;  // none before courses had files: the classic course
    bool playerMode = false;     // recorded with the menus; it plays with them
};

struct ReplayFrame {
    float timeStep = 0.0f;  // the step the game took, seconds
    HeldKeys keys;
    CursorPosition cursor;
    int framebufferWidth = 0;
    int framebufferHeight = 0;
    WindowEvents events;
};

struct Replay {
    ReplayHeader header;
    std::vector<ReplayFrame> frames;
    std::optional<std::uint64_t> endHash;  // absent when the recording was cut short
};

// Either the replay, or what is wrong with the text, in words for a player.
struct ReplayParse {
    std::optional<Replay> replay;
    std::string error;
};

ReplayParse parseReplay(const std::string& text);

// "" when a replay with this header plays on `course`; otherwise why it
// does not, naming both courses, in words for a player.
std::string courseMismatch(const ReplayHeader& header, const CourseId& course);

// The whole replay: header, frames and, if it has one, its end.
std::string formatReplay(const Replay& replay);

// The lines of a replay, each with its line end.
std::string formatReplayHeader(const ReplayHeader& header);
std::string formatReplayFrame(const ReplayFrame& frame);
std::string formatReplayEnd(std::uint64_t hash);
