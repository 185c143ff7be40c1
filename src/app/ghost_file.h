// The ghost's file: the best run of a course kept as a replay in the data
// folder, <data folder>/ghosts/<course name>-<16 hex digits of its hash>.replay,
// so a changed course file has a ghost of its own. It is written whole
// beside the old one, flushed and renamed over it, so a crash leaves the old
// ghost. Neither a broken file nor one that cannot be written stops a run:
// each gets one line.
#pragma once

#include "replay.h"
#include "game/course_id.h"

#include <optional>
#include <ostream>
#include <string>

// The course's ghost file under `dataFolder`; "" without a data folder.
std::string ghostPath(const std::string& dataFolder, const CourseId& course);

// The run kept at `path` for `course`: none, in silence, when there is no
// file; none, with one line on `console`, when it cannot be played.
std::optional<Replay> loadGhost(const std::string& path, const CourseId& course, std::ostream& console);

// Keeps `replay` at `path`; on any failure one line on `console`, the old
// file untouched, and false.
bool saveGhost(const std::string& path, const Replay& replay, std::ostream& console);
