#include "replay.h"

#include "game/simulation.h"

#include <GLFW/glfw3.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

constexpr int largestFramebufferSide = 65535;

int keyBits(const HeldKeys& keys)
{
    return (keys.forward ? 1 : 0) | (keys.back ? 2 : 0) | (keys.left ? 4 : 0) | (keys.right ? 8 : 0) |
           (keys.up ? 16 : 0) | (keys.down ? 32 : 0);
}

HeldKeys keysFromBits(long bits)
{
    HeldKeys keys;
    keys.forward = bits & 1;
    keys.back = bits & 2;
    keys.left = bits & 4;
    keys.right = bits & 8;
    keys.up = bits & 16;
    keys.down = bits & 32;
    return keys;
}

// The words of one line, split at single blanks.
std::vector<std::string> wordsOf(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

// A whole word as a number, or nothing: no trailing text (a NUL byte
// included), no overflow.
std::optional<double> realOf(const std::string& word)
{
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(word.c_str(), &end);
    if (word.empty() || end != word.c_str() + word.size() || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A whole word as a number that stays finite where the game takes it as a
// float (angles, and a cursor's moves): kept at full precision.
std::optional<double> floatRangeOf(const std::string& word)
{
    const std::optional<double> value = realOf(word);
    if (!value || !std::isfinite(static_cast<float>(*value)))
        return std::nullopt;
    return value;
}

std::optional<float> floatOf(const std::string& word)
{
    const std::optional<double> value = floatRangeOf(word);
    return value ? std::optional<float>(static_cast<float>(*value)) : std::nullopt;
}

std::optional<long> integerOf(const std::string& word, int base = 10)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(word.c_str(), &end, base);
    if (word.empty() || end != word.c_str() + word.size() || errno == ERANGE)
        return std::nullopt;
    return value;
}

// What is wrong with one frame line's words, or "" when it is sound.
std::string readFrame(const std::vector<std::string>& words, ReplayFrame& frame)
{
    if (words.size() < 7)
        return "has too few values";
    const std::optional<double> step = realOf(words[1]);
    const std::optional<long> keys = integerOf(words[2]);
    const std::optional<double> x = floatRangeOf(words[3]);
    const std::optional<double> y = floatRangeOf(words[4]);
    const std::optional<long> width = integerOf(words[5]);
    const std::optional<long> height = integerOf(words[6]);
    static_assert(maxTimeStep == 0.25, "the line below names the longest step");
    if (!step || *step < 0.0 || *step > maxTimeStep)
        return "has a time step that is no number from 0 to 0.25";
    if (!keys || *keys < 0 || *keys > 63)
        return "has held keys that are no number from 0 to 63";
    if (!x || !y)
        return "has a cursor position that is no finite number";
    if (!width || !height || *width < 0 || *height < 0 || *width > largestFramebufferSide ||
        *height > largestFramebufferSide)
        return "has a window size outside 0 to " + std::to_string(largestFramebufferSide);
    frame.timeStep = static_cast<float>(*step);
    frame.keys = keysFromBits(*keys);
    frame.cursor = {*x, *y};
    frame.framebufferWidth = static_cast<int>(*width);
    frame.framebufferHeight = static_cast<int>(*height);
    for (std::size_t i = 7; i < words.size(); ++i) {
        if (words[i] == "click") {
            frame.events.clicked = true;
        } else if (words[i] == "focus-lost") {
            frame.events.focusLost = true;
        } else if (words[i][0] == 'k') {
            const std::optional<long> key = integerOf(words[i].substr(1));
            if (!key || *key < GLFW_KEY_UNKNOWN || *key > GLFW_KEY_LAST)
                return "names a key that does not exist (" + words[i] + ")";
            // Earlier builds wrote keys without a name (media keys) too; no
            // key of the game, so the run plays the same without them.
            if (*key == GLFW_KEY_UNKNOWN)
                continue;
            if (frame.events.keyReleaseCount == WindowEvents::capacity)
                return "releases more keys than one frame can";
            frame.events.release(static_cast<int>(*key));
        } else {
            return "has an event the game does not know (" + words[i] + ")";
        }
    }
    return "";
}

// What is wrong with the header's lines after the first, or "" when they are sound.
std::string readHeader(const std::vector<std::vector<std::string>>& lines, ReplayHeader& header)
{
    const std::vector<std::string>& game = lines[1];
    const std::vector<std::string>& camera = lines[2];
    const std::vector<std::string>& seed = lines[3];
    const std::vector<std::string>& cursor = lines[4];
    if (game.size() != 2 || game[0] != "game")
        return "has no game version in its header";
    header.gameVersion = game[1];
    if (camera.size() != 6 || camera[0] != "camera")
        return "has no camera line in its header";
    const std::optional<float> fov = floatOf(camera[1]);
    const std::optional<float> yaw = floatOf(camera[2]);
    const std::optional<float> pitch = floatOf(camera[3]);
    const std::optional<float> sensitivity = floatOf(camera[4]);
    if (!fov || *fov <= 0.0 || *fov >= 180.0 || !yaw || !pitch || !sensitivity || *sensitivity <= 0.0 ||
        *sensitivity > 1.0 || (camera[5] != "0" && camera[5] != "1"))
        return "has camera values the game cannot use";
    header.camera.fov = *fov;
    header.camera.yaw = *yaw;
    header.camera.pitch = *pitch;
    header.camera.mouseSensitivity = *sensitivity;
    header.camera.invertY = camera[5] == "1";
    const std::optional<long> seedValue = seed.size() == 2 && seed[0] == "seed" ? integerOf(seed[1]) : std::nullopt;
    if (!seedValue || *seedValue < 0 || *seedValue > 0xFFFFFFFFL)
        return "has no particle seed in its header";
    header.seed = static_cast<std::uint32_t>(*seedValue);
    const bool cursorLine = cursor.size() == 3 && cursor[0] == "cursor";
    const std::optional<double> x = cursorLine ? floatRangeOf(cursor[1]) : std::nullopt;
    const std::optional<double> y = cursorLine ? floatRangeOf(cursor[2]) : std::nullopt;
    if (!x || !y)
        return "has no start cursor in its header";
    header.startCursor = {*x, *y};
    return "";
}

// The course line's words after "course": the hash, then the name.
std::string readCourse(const std::vector<std::string>& words, ReplayHeader& header)
{
    const std::string digits = words.size() >= 3 ? words[1] : "";
    if (digits.size() != 16 || digits.find_first_not_of("0123456789abcdef") != std::string::npos)
        return "has a course line without a course's hash and name";
    CourseId course{words[2], std::strtoull(digits.c_str(), nullptr, 16)};
    for (std::size_t i = 3; i < words.size(); ++i)
        course.name += " " + words[i];
    header.course = course;
    return "";
}

std::string hexOf(std::uint64_t value)
{
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(value));
    return digits;
}

}  // namespace

ReplayParse parseReplay(const std::string& text)
{
    ReplayParse result;
    if (text.empty()) {
        result.error = "the file is empty";
        return result;
    }
    // Only whole lines count; text after the last line end is a line cut short.
    std::vector<std::vector<std::string>> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(wordsOf(text.substr(start, end - start)));
        start = end + 1;
    }
    const bool cutShort = start < text.size();
    const std::vector<std::string> first = lines.empty() ? wordsOf(text) : lines[0];
    if (first.empty() || first[0] != replayFormatName) {
        result.error = "it is not a Glimmerdeep replay";
        return result;
    }
    const std::optional<long> version = first.size() == 2 ? integerOf(first[1]) : std::nullopt;
    if (!version || *version < 1) {
        result.error = "it has no format version";
        return result;
    }
    if (*version > replayFormatVersion) {
        result.error = "it was recorded in format " + std::to_string(*version) + ", newer than this game reads (" +
                       std::to_string(replayFormatVersion) + ")";
        return result;
    }
    std::size_t headerLines = 5;
    if (lines.size() < headerLines) {
        result.error = "it ends inside its header";
        return result;
    }
    Replay replay;
    std::string wrongHeader = readHeader(lines, replay.header);
    if (wrongHeader.empty() && lines.size() > headerLines && !lines[headerLines].empty() &&
        lines[headerLines][0] == "course")
        wrongHeader = readCourse(lines[headerLines++], replay.header);
    if (!wrongHeader.empty()) {
        result.error = "it " + wrongHeader;
        return result;
    }
    const std::vector<std::string> playerModeLine = {"mode", "player"};
    replay.header.playerMode = lines.size() > headerLines && lines[headerLines] == playerModeLine;
    for (std::size_t i = headerLines + (replay.header.playerMode ? 1 : 0); i < lines.size(); ++i) {
        const std::vector<std::string>& words = lines[i];
        const std::string where = "line " + std::to_string(i + 1);
        if (replay.endHash) {
            result.error = where + " follows the end";
            return result;
        }
        if (words.size() == 2 && words[0] == "end") {
            const std::string& digits = words[1];
            if (digits.size() != 16 || digits.find_first_not_of("0123456789abcdef") != std::string::npos) {
                result.error = where + " has an end without a run hash";
                return result;
            }
            replay.endHash = std::strtoull(digits.c_str(), nullptr, 16);
            continue;
        }
        if (words.empty() || words[0] != "frame") {
            result.error = where + " is no frame";
            return result;
        }
        ReplayFrame frame;
        const std::string wrong = readFrame(words, frame);
        if (!wrong.empty()) {
            result.error = where + " " + wrong;
            return result;
        }
        replay.frames.push_back(frame);
    }
    if (cutShort) {
        result.error = "it ends inside line " + std::to_string(lines.size() + 1);
        return result;
    }
    result.replay = std::move(replay);
    return result;
}

std::string courseMismatch(const ReplayHeader& header, const CourseId& course)
{
    const std::string here = "course '" + course.name + "' (" + hexOf(course.hash) + ")";
    if (!header.course)
        return course.name == classicCourseName ? "" : "it was recorded on course 'classic', not on " + here;
    if (*header.course == course)
        return "";
    return "it was recorded on course '" + header.course->name + "' (" + hexOf(header.course->hash) +
           "), not on " + here;
}

std::string formatReplayHeader(const ReplayHeader& header)
{
    char camera[160];
    std::snprintf(camera, sizeof camera, "camera %.9g %.9g %.9g %.9g %d\n", header.camera.fov, header.camera.yaw,
                  header.camera.pitch, header.camera.mouseSensitivity, header.camera.invertY ? 1 : 0);
    char cursor[96];
    std::snprintf(cursor, sizeof cursor, "cursor %.17g %.17g\n", header.startCursor.x, header.startCursor.y);
    // Without a course line the text is the older format's, byte for byte.
    const int version = header.course ? replayFormatVersion : 1;
    return std::string(replayFormatName) + " " + std::to_string(version) + "\n" + "game " +
           header.gameVersion + "\n" + camera + "seed " + std::to_string(header.seed) + "\n" + cursor +
           (header.course ? "course " + hexOf(header.course->hash) + " " + header.course->name + "\n" : "") +
           (header.playerMode ? "mode player\n" : "");
}

std::string formatReplayFrame(const ReplayFrame& frame)
{
    char line[160];
    std::snprintf(line, sizeof line, "frame %.9g %d %.17g %.17g %d %d", frame.timeStep, keyBits(frame.keys),
                  frame.cursor.x, frame.cursor.y, frame.framebufferWidth, frame.framebufferHeight);
    std::string text = line;
    for (int i = 0; i < frame.events.keyReleaseCount; ++i)
        text += " k" + std::to_string(frame.events.keyReleases[i]);
    if (frame.events.clicked)
        text += " click";
    if (frame.events.focusLost)
        text += " focus-lost";
    return text + "\n";
}

std::string formatReplay(const Replay& replay)
{
    std::string text = formatReplayHeader(replay.header);
    for (const ReplayFrame& frame : replay.frames)
        text += formatReplayFrame(frame);
    if (replay.endHash)
        text += formatReplayEnd(*replay.endHash);
    return text;
}

std::string formatReplayEnd(std::uint64_t hash)
{
    char line[32];
    std::snprintf(line, sizeof line, "end %016llx\n", static_cast<unsigned long long>(hash));
    return line;
}
