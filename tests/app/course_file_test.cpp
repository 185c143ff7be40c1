#include "app/course_catalog.h"
#include "app/course_file.h"
#include "app/course_report.h"
#include "framework/file_io.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace {

std::string classicText()
{
    return *readWholeFile(sourceDir() + "/assets/courses/classic.ini");
}

// `text` with the first occurrence of `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

bool sameCourse(const Course& a, const Course& b)
{
    return a.rings == b.rings && a.finish == b.finish && a.ringPassRadius == b.ringPassRadius &&
           a.finishRadius == b.finishRadius && a.wellDepth == b.wellDepth && a.wellRadius == b.wellRadius &&
           a.fairyStart == b.fairyStart && a.fullPower == b.fullPower && a.drainPerSecond == b.drainPerSecond &&
           a.refillPerRing == b.refillPerRing && a.flag == b.flag && a.cloud == b.cloud;
}

}  // namespace

// The shipped classic file holds exactly the numbers the game has always
// flown, and every shipped course reads without a line and writes back to
// the same numbers.
TEST(CourseFile, ShippedCoursesReadSilentlyAndClassicIsTheBuiltInCourse)
{
    std::ostringstream console;
    const std::optional<Course> classic = readCourse("assets/courses/classic.ini", classicText(), console);
    ASSERT_TRUE(classic);
    EXPECT_TRUE(sameCourse(*classic, Course{}));
    EXPECT_EQ(classic->name, "classic");
    EXPECT_EQ(classic->fileHash, courseHash(classicText()));
    EXPECT_NE(courseHash(classicText()), courseHash(replaced(classicText(), "17", "17.5")));
    const std::vector<CourseListing> shipped = availableCourses();
    EXPECT_GE(shipped.size(), 5u);
    for (const CourseListing& listed : shipped) {
        const std::optional<Course> course = loadCourse(listed.name, console);
        ASSERT_TRUE(course) << listed.name;
        EXPECT_EQ(course->name, listed.name);
        const std::optional<Course> again = readCourse("again.ini", formatCourse(*course, "again"), console);
        ASSERT_TRUE(again) << listed.name;
        EXPECT_TRUE(sameCourse(*again, *course)) << listed.name;
    }
    EXPECT_EQ(console.str(), "");
}

// A course that cannot be played is refused whole, with a line for each
// fault naming the file, the line and the key.
TEST(CourseFile, ACourseThatCannotBePlayedIsRefusedWithItsLines)
{
    std::string sixtyFive;
    for (int i = 0; i < 65; ++i)
        sixtyFive += "ring = 0, " + std::to_string(0.2 * i) + ", 0\n";
    std::string noRing;
    std::istringstream lines(classicText());
    for (std::string line; std::getline(lines, line);)
        noRing += line.rfind("ring =", 0) == 0 ? "" : line + "\n";
    const struct {
        const char* fault;
        std::string text;
        std::string lines;
    } cases[] = {
        {"ring outside the well", replaced(classicText(), "ring = -3, 1, 0", "ring = -5.1, 1, 0"),
         "line 18: [rings] ring = -5.1, 1, 0 lies outside the well (radius 5, depth 20)"},
        {"rings out of order", replaced(classicText(), "ring = 3, 1.8, -2", "ring = 3, 0.8, -2"),
         "line 19: [rings] ring = 3, 0.8, -2 is lower than the ring before it: rings climb in course order"},
        {"no ring", noRing, "[rings] ring is missing: a course has at least one ring"},
        {"not a number", replaced(classicText(), "full = 100", "full = nan"),
         "line 12: [power] full = nan is not a finite number"},
        {"infinite", replaced(classicText(), "ring = 0, 17, 0", "ring = 0, inf, 0"),
         "line 32: [rings] ring = 0, inf, 0 is not three finite numbers x, y, z"},
        {"finish below the last ring", replaced(classicText(), "point = 4.5, 22.26, 0", "point = 4.5, 16, 0"),
         "line 35: [finish] point = 4.5, 16, 0 lies below the last ring"},
        {"65 rings", replaced(classicText(), "ring = -3, 1, 0\n", sixtyFive),
         "line 82: [rings] ring = 0, 12.800000, 0 is one more than the 64 a course may have"},
        {"missing key", replaced(classicText(), "drain_per_second = 20\n", ""), "[power] drain_per_second is missing"},
        {"unknown key", replaced(classicText(), "radius = 5", "radius = 5\nwidth = 3"),
         "line 7: [well] width = 3 is no key of a course"},
        {"key twice", replaced(classicText(), "radius = 5", "radius = 5\nRadius = 6"),
         "line 7: [well] Radius = 6 is given twice (first on line 6)"},
        {"no key at all", replaced(classicText(), "[fairy]", "[fairy]\nfly"), "line 9 is not 'key = value' or a [section]"},
        {"well too narrow", replaced(classicText(), "radius = 5", "radius = 0.1"),
         "line 6: [well] radius = 0.1 is not above 0.1"},
    };
    for (const auto& c : cases) {
        std::ostringstream console;
        EXPECT_FALSE(readCourse("mine.ini", c.text, console)) << c.fault;
        EXPECT_EQ(console.str(), "ERROR: 'mine.ini': " + c.lines + ".\n") << c.fault;
    }
}

// A player's course in a data folder is listed and found by its name.
TEST(CourseFile, APlayersCourseInTheDataFolderIsListedAndFoundByName)
{
    const std::string data = makeScratchDir("players_courses");
    writeFile(data + "/courses/mine.ini", replaced(classicText(), "full = 100", "full = 90"));
    setenv("GLIMMERDEEP_DATA", data.c_str(), 1);
    const std::vector<CourseListing> listed = availableCourses();
    std::ostringstream console;
    const std::optional<Course> mine = loadCourse("mine", console);
    unsetenv("GLIMMERDEEP_DATA");
    ASSERT_TRUE(mine) << console.str();
    EXPECT_EQ(mine->fullPower, 90.0f);
    const auto found = std::find_if(listed.begin(), listed.end(), [](const CourseListing& c) { return c.name == "mine"; });
    ASSERT_NE(found, listed.end());
    EXPECT_EQ(found->path, data + "/courses/mine.ini");
    EXPECT_FALSE(loadCourse("nowhere", console));
    EXPECT_NE(console.str().find("ERROR: Cannot read the course 'nowhere': there is no assets/courses/nowhere.ini."),
              std::string::npos);
}

// The check refuses a course with a ring no flight can pass, a ring no leg
// reaches, or a finish the power cannot carry the fairy to; its last line says which.
TEST(CourseCheck, RefusesHiddenAndUnreachableRingsAndAFinishOutOfPower)
{
    Course two;
    two.rings = {{0.0f, 2.0f, 0.0f}, {0.0f, 6.0f, 0.0f}};
    two.finish = two.flag = {0.0f, 10.0f, 0.0f};
    Course hidden = two;
    hidden.ringPassRadius = 0.05f;
    hidden.rings[1] = {4.96f, 6.0f, 0.0f};
    Course unreachable = two;
    unreachable.rings[1].y = 19.5f;
    unreachable.finish.y = 20.0f;
    Course outOfPower = two;
    outOfPower.finish.y = 19.0f;
    const struct {
        const Course* course;
        bool winnable;
        std::string verdict;
    } cases[] = {
        {&two, true, "winnable: the smallest margin is 68.0 (ring 2)"},
        {&hidden, false, "ring 2 is hidden: it lies behind the wall or under the water, beyond its radius's "
                         "reach of anywhere the fairy can fly"},
        {&unreachable, false, "ring 2 cannot be reached: no leg from the start or from a ring before it gets there "
                              "at 5 frames per second"},
        {&outOfPower, false, "the finish cannot be reached: the power runs out on every way there at 5 frames per "
                             "second"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(reportCourseCheck(*c.course, out), c.winnable) << out.str();
        const std::string lines = out.str();
        EXPECT_EQ(lines.substr(lines.rfind('\n', lines.size() - 2) + 1), c.verdict + "\n");
    }
}
