#include "course_choice.h"

#include "ghost_file.h"
#include "player_menu.h"
#include "framework/console.h"
#include "framework/file_io.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// The best time `results` keep for the course in `path` (none for "", the course built in).
std::optional<double> bestTimeOf(ResultsByCourse& results, const std::string& name, const std::string& path)
{
    const std::optional<std::string> bytes = path.empty() ? std::nullopt : readWholeFile(path);
    return results.of(CourseId{name, bytes ? courseHash(*bytes) : 0}).bestTime;
}

int flownIndex(const App& app)
{
    const auto& courses = app.menu.courses;
    const auto flown = std::find_if(courses.begin(), courses.end(),
                                    [&](const MenuCourse& course) { return course.name == app.course.name; });
    return static_cast<int>(flown - courses.begin());
}

}  // namespace

void offerCourses(App& app, std::vector<CourseListing> listings, const std::string& flownFile,
                  ResultsFile* results)
{
    const auto flown = std::find_if(listings.begin(), listings.end(),
                                    [&](const CourseListing& listing) { return listing.name == app.course.name; });
    if (flown == listings.end())
        listings.push_back({app.course.name, flownFile});
    else if (!flownFile.empty())
        flown->path = flownFile;
    std::sort(listings.begin(), listings.end(),
              [](const CourseListing& a, const CourseListing& b) { return a.name < b.name; });
    ReportingStream warnings(Severity::warning);
    ResultsByCourse kept = results ? results->load(warnings) : ResultsByCourse{};
    app.menu.courses.clear();
    app.coursePaths.clear();
    for (const CourseListing& listing : listings) {
        app.menu.courses.push_back({listing.name, bestTimeOf(kept, listing.name, listing.path)});
        app.coursePaths.push_back(listing.path);
    }
    app.menu.course = flownIndex(app);
    app.menu.courses[static_cast<std::size_t>(app.menu.course)].bestTime = app.menu.bestTime;
}

bool takeSelectedCourse(App& app, RunOptions& run, std::ostream& console)
{
    const std::string& path = app.coursePaths.at(static_cast<std::size_t>(app.menu.course));
    std::optional<Course> course = path.empty() ? loadCourseToFly(std::nullopt, console) : loadCourse(path, console);
    if (!course) {
        selectCourse(app.menu, flownIndex(app));
        return false;
    }
    const CourseId id{course->name, course->fileHash};
    app.course = std::move(*course);
    restartRun(app);
    run.course = id;
    app.ghost.reset();
    if (run.ghostTake) {
        run.ghostPath = ghostPath(resultsFolder(), id);
        if (std::optional<Replay> best = loadGhost(run.ghostPath, id, console))
            app.ghost.emplace(std::move(*best), app.course);
        ReplayHeader header = run.ghostTake->header();
        header.course = id;
        run.ghostTake.emplace(header);
    }
    console << "Course: " << app.course.name << std::endl;
    return true;
}
