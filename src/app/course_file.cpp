#include "course_file.h"

#include <ini.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

namespace {

struct Given {
    std::string text;
    int line = 0;
};

// What the file says, key by key, with the line each came from.
struct CourseText {
    std::map<std::string, Given> values;  // "section.name"
    std::vector<Given> rings;             // [rings] ring, in file order
    std::vector<std::string> faults;      // "line N: ..." as found
};

struct LineReader {
    const char* next;
    const char* end;
    int line = 0;  // of the piece last handed out
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Hands inih one line at a time, counting lines, less its leading blanks:
// inih would read an indented line as more of the key above.
char* readLine(char* buffer, int capacity, void* stream)
{
    auto& reader = *static_cast<LineReader*>(stream);
    if (reader.next == reader.end || capacity < 2)
        return nullptr;
    ++reader.line;
    while (reader.next != reader.end && isBlank(*reader.next) && *reader.next != '\n')
        ++reader.next;
    int length = 0;
    // A line longer than the buffer is cut; the rest of it is dropped with it.
    while (reader.next != reader.end) {
        const char c = *reader.next++;
        if (length < capacity - 2)
            buffer[length++] = c;
        if (c == '\n')
            break;
    }
    buffer[length] = '\0';
    return buffer;
}

std::string keyText(const std::string& section, const std::string& name)
{
    return "[" + section + "] " + name;
}

// Sections and keys match without regard to case, as in the settings files.
std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

const CourseKey* findKey(const std::string& section, const std::string& name)
{
    for (const CourseKey& key : courseKeys())
        if (lowerCase(section) == key.section && lowerCase(name) == key.name)
            return &key;
    return nullptr;
}

struct Parse {
    LineReader* reader;
    CourseText* text;
};

int storeValue(void* user, const char* section, const char* name, const char* value)
{
    auto& parse = *static_cast<Parse*>(user);
    CourseText& text = *parse.text;
    const int line = parse.reader->line;
    if (!name)
        return 1;
    const std::string where = "line " + std::to_string(line) + ": " + keyText(section, name) + " = " + value;
    const CourseKey* key = findKey(section, name);
    if (!key) {
        text.faults.push_back(where + " is no key of a course");
    } else if (key->kind == CourseKeyKind::points) {
        text.rings.push_back({value, line});
    } else {
        const auto [given, added] =
            text.values.try_emplace(std::string(key->section) + "." + key->name, Given{value, line});
        if (!added)
            text.faults.push_back(where + " is given twice (first on line " + std::to_string(given->second.line) +
                                  ")");
    }
    return 1;
}

std::optional<float> parseNumber(std::string text)
{
    while (!text.empty() && isBlank(text.back()))
        text.pop_back();
    while (!text.empty() && isBlank(text.front()))
        text.erase(0, 1);
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const float number = std::strtof(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<glm::vec3> parsePoint(const std::string& text)
{
    glm::vec3 point;
    std::size_t start = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const std::size_t comma = text.find(',', start);
        if ((axis < 2) == (comma == std::string::npos))
            return std::nullopt;
        const std::optional<float> number = parseNumber(text.substr(start, comma - start));
        if (!number)
            return std::nullopt;
        point[axis] = *number;
        start = comma + 1;
    }
    return point;
}

float horizontalDistance(glm::vec3 point)
{
    return std::hypot(point.x, point.z);
}

std::string numberText(float number)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, number);
    return std::string(text, written.ptr);
}

std::string pointText(glm::vec3 point)
{
    return numberText(point.x) + ", " + numberText(point.y) + ", " + numberText(point.z);
}

// Turns what the file said into a course, collecting the faults.
class CourseBuilder {
public:
    explicit CourseBuilder(CourseText& text) : text_(text) {}

    void build(Course& course)
    {
        const int before = faults_;
        number("well", "depth", course.wellDepth, 0.0f);
        number("well", "radius", course.wellRadius, fairyBodyRadius);
        const bool wellKnown = faults_ == before;  // the other places are judged against it
        const Given* start = point("fairy", "start", course.fairyStart);
        number("power", "full", course.fullPower, 0.0f);
        number("power", "drain_per_second", course.drainPerSecond, 0.0f, true);
        number("power", "refill_per_ring", course.refillPerRing, 0.0f, true);
        number("rings", "pass_radius", course.ringPassRadius, 0.0f);
        const Given* finish = point("finish", "point", course.finish);
        number("finish", "radius", course.finishRadius, 0.0f);
        point("scenery", "flag", course.flag);
        point("scenery", "cloud", course.cloud);
        if (!wellKnown)
            return;
        if (start && parsePoint(start->text))
            insideWell(course, "fairy", "start", course.fairyStart, *start);
        rings(course, finish && parsePoint(finish->text) ? finish : nullptr);
    }

private:
    const Given* given(const std::string& key) const
    {
        const auto found = text_.values.find(key);
        return found == text_.values.end() ? nullptr : &found->second;
    }

    void fault(const std::string& text)
    {
        text_.faults.push_back(text);
        ++faults_;
    }

    void fault(const Given& given, const char* section, const char* name, const std::string& reason)
    {
        fault("line " + std::to_string(given.line) + ": " + keyText(section, name) + " = " + given.text + " " +
              reason);
    }

    const Given* present(const char* section, const char* name)
    {
        const Given* value = given(std::string(section) + "." + name);
        if (!value)
            fault(keyText(section, name) + " is missing");
        return value;
    }

    void number(const char* section, const char* name, float& field, float low, bool lowAllowed = false)
    {
        const Given* value = present(section, name);
        if (!value)
            return;
        const std::optional<float> number = parseNumber(value->text);
        if (!number)
            fault(*value, section, name, "is not a finite number");
        else if (lowAllowed ? *number < low : *number <= low)
            fault(*value, section, name, std::string(lowAllowed ? "is below " : "is not above ") + numberText(low));
        else
            field = *number;
    }

    const Given* point(const char* section, const char* name, glm::vec3& field)
    {
        const Given* value = present(section, name);
        if (!value)
            return nullptr;
        const std::optional<glm::vec3> point = parsePoint(value->text);
        if (!point)
            fault(*value, section, name, "is not three finite numbers x, y, z");
        else
            field = *point;
        return value;
    }

    bool insideWell(const Course& course, const char* section, const char* name, glm::vec3 point,
                    const Given& given)
    {
        if (horizontalDistance(point) <= course.wellRadius && point.y >= 0.0f && point.y <= course.wellDepth)
            return true;
        fault(given, section, name,
              "lies outside the well (radius " + numberText(course.wellRadius) + ", depth " +
                  numberText(course.wellDepth) + ")");
        return false;
    }

    void rings(Course& course, const Given* finish)
    {
        course.rings.clear();
        if (text_.rings.empty())
            fault(keyText("rings", "ring") + " is missing: a course has at least one ring");
        for (const Given& ring : text_.rings) {
            if (course.rings.size() == maxCourseRings) {
                fault(ring, "rings", "ring", "is one more than the " + std::to_string(maxCourseRings) + " a course may have");
                return;
            }
            const std::optional<glm::vec3> centre = parsePoint(ring.text);
            if (!centre) {
                fault(ring, "rings", "ring", "is not three finite numbers x, y, z");
                continue;
            }
            if (insideWell(course, "rings", "ring", *centre, ring) && !course.rings.empty() &&
                centre->y < course.rings.back().y)
                fault(ring, "rings", "ring", "is lower than the ring before it: rings climb in course order");
            course.rings.push_back(*centre);
        }
        if (finish && !course.rings.empty() && course.finish.y < course.rings.back().y)
            fault(*finish, "finish", "point", "lies below the last ring");
    }

    CourseText& text_;
    int faults_ = 0;
};

}  // namespace

const std::vector<CourseKey>& courseKeys()
{
    static const std::vector<CourseKey> keys = {
        {"well", "depth", CourseKeyKind::number, "height of the well's wall above the water"},
        {"well", "radius", CourseKeyKind::number, "radius of the wall; the fairy keeps 0.1 inside it"},
        {"fairy", "start", CourseKeyKind::point, "where the fairy starts, x, y, z"},
        {"power", "full", CourseKeyKind::number, "the power at the start, and the most there can be"},
        {"power", "drain_per_second", CourseKeyKind::number, "power spent every second"},
        {"power", "refill_per_ring", CourseKeyKind::number, "power a ring gives back"},
        {"rings", "pass_radius", CourseKeyKind::number, "how near a ring's centre the fairy passes it"},
        {"rings", "ring", CourseKeyKind::points, "one line per ring, x, y, z, in course order, climbing"},
        {"finish", "point", CourseKeyKind::point, "the point to reach, at or above the last ring"},
        {"finish", "radius", CourseKeyKind::number, "how near the finish point the fairy wins"},
        {"scenery", "flag", CourseKeyKind::point, "where the flag stands"},
        {"scenery", "cloud", CourseKeyKind::point, "where the small cloud floats"},
    };
    return keys;
}

std::optional<Course> readCourse(const std::string& path, const std::string& bytes, std::ostream& console)
{
    CourseText text;
    LineReader reader{bytes.data(), bytes.data() + bytes.size()};
    Parse parse{&reader, &text};
    const int unreadable = ini_parse_stream(readLine, &reader, storeValue, &parse);
    if (unreadable > 0)
        text.faults.insert(text.faults.begin(), "line " + std::to_string(unreadable) +
                                                    " is not 'key = value' or a [section]");
    Course course;
    CourseBuilder(text).build(course);
    if (!text.faults.empty()) {
        for (const std::string& fault : text.faults)
            console << "ERROR: '" << path << "': " << fault << "." << std::endl;
        return std::nullopt;
    }
    course.name = std::filesystem::path(path).stem().string();
    course.fileHash = courseHash(bytes);
    return course;
}

std::string formatCourse(const Course& course, const std::string& comment)
{
    std::ostringstream out;
    std::istringstream lines(comment);
    for (std::string line; std::getline(lines, line);)
        out << "; " << line << "\n";
    out << "\n[well]\ndepth = " << numberText(course.wellDepth) << "\nradius = " << numberText(course.wellRadius)
        << "\n\n[fairy]\nstart = " << pointText(course.fairyStart) << "\n\n[power]\nfull = "
        << numberText(course.fullPower) << "\ndrain_per_second = " << numberText(course.drainPerSecond)
        << "\nrefill_per_ring = " << numberText(course.refillPerRing) << "\n\n[rings]\npass_radius = "
        << numberText(course.ringPassRadius) << "\n";
    for (const glm::vec3& ring : course.rings)
        out << "ring = " << pointText(ring) << "\n";
    out << "\n[finish]\npoint = " << pointText(course.finish) << "\nradius = " << numberText(course.finishRadius)
        << "\n\n[scenery]\nflag = " << pointText(course.flag) << "\ncloud = " << pointText(course.cloud) << "\n";
    return out.str();
}
