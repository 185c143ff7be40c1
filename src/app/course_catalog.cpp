#include "course_catalog.h"

#include "course_file.h"

#include "framework/asset_path.h"
#include "framework/data_folder.h"
#include "framework/file_io.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string coursesFolder = "assets/courses";
const std::string courseExtension = ".ini";

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The folders that may hold courses, in the order the asset search tries them.
std::vector<fs::path> courseFolders()
{
    std::vector<fs::path> folders;
    const std::string start = executableDirectory();
    for (fs::path level = start;; level = level.parent_path()) {
        folders.push_back(level / coursesFolder);
        if (isReadableFile((level / "CMakeLists.txt").string()) || level.parent_path() == level)
            break;
    }
    for (const std::string& data : dataFolders(std::getenv("GLIMMERDEEP_DATA"), start))
        folders.push_back(fs::path(data) / "courses");
    return folders;
}

std::string pathOfNamed(const std::string& name)
{
    return findAssetPath(coursesFolder + "/" + name + courseExtension);
}

}  // namespace

std::vector<CourseListing> availableCourses()
{
    std::vector<CourseListing> courses;
    for (const fs::path& folder : courseFolders()) {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
            const std::string path = entry.path().string();
            const std::string name = entry.path().stem().string();
            const bool known = std::any_of(courses.begin(), courses.end(),
                                           [&](const CourseListing& course) { return course.name == name; });
            if (endsWith(path, courseExtension) && isReadableFile(path) && !known)
                courses.push_back({name, path});
        }
    }
    std::sort(courses.begin(), courses.end(),
              [](const CourseListing& a, const CourseListing& b) { return a.name < b.name; });
    return courses;
}

bool namesCourseFile(const std::string& nameOrFile)
{
    return nameOrFile.find('/') != std::string::npos || endsWith(nameOrFile, courseExtension);
}

std::optional<Course> loadCourse(const std::string& nameOrFile, std::ostream& console)
{
    const bool isFile = namesCourseFile(nameOrFile);
    const std::string path = isFile ? nameOrFile : pathOfNamed(nameOrFile);
    const std::optional<std::string> bytes = path.empty() ? std::nullopt : readWholeFile(path);
    if (!bytes) {
        console << "ERROR: Cannot read the course '" << nameOrFile << "'"
                << (isFile ? "." : ": there is no " + coursesFolder + "/" + nameOrFile + courseExtension + ".")
                << std::endl;
        return std::nullopt;
    }
    return readCourse(path, *bytes, console);
}

std::optional<Course> loadCourseToFly(const std::optional<std::string>& asked, std::ostream& console)
{
    if (!asked && pathOfNamed(defaultCourseName).empty())
        return Course{};
    return loadCourse(asked.value_or(defaultCourseName), console);
}
