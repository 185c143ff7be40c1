#include "course_report.h"

#include "game/course_check.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string cell(const char* format, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string placeName(std::size_t index, const Course& course)
{
    return index < course.rings.size() ? "ring " + std::to_string(index + 1) : std::string("the finish");
}

// Why the course cannot be played, or "" when it can.
std::string fault(const std::vector<CourseFlight>& flights, const Course& course)
{
    if (const std::optional<std::size_t> hidden = hiddenRing(course))
        return placeName(*hidden, course) +
               " is hidden: it lies behind the wall or under the water, beyond its radius's reach of anywhere "
               "the fairy can fly";
    for (const CourseFlight& flight : flights)
        if (flight.unreachable)
            return placeName(*flight.unreachable, course) +
                   " cannot be reached: no leg from the start or from a ring before it gets there at " +
                   std::to_string(flight.framesPerSecond) + " frames per second";
    for (const CourseFlight& flight : flights)
        if (!flight.won)
            return "the finish cannot be reached: the power runs out on every way there at " +
                   std::to_string(flight.framesPerSecond) + " frames per second";
    return "";
}

}  // namespace

bool reportCourseCheck(const Course& course, std::ostream& out)
{
    std::vector<CourseFlight> flights;
    for (int rate : checkedFrameRates)
        flights.push_back(flyCourse(course, rate));

    out << "Course '" << course.name << "': " << course.rings.size() << " rings, power " << course.fullPower
        << " full, " << course.drainPerSecond << " a second, " << course.refillPerRing << " a ring" << std::endl;
    out << "Power on arrival at each frame rate, along the way that keeps the most power in hand (skip:"
        << std::endl
        << "a ring that way passes over), and the margin, the least of them:" << std::endl;
    std::string heading = "place     ";
    for (int rate : checkedFrameRates)
        heading += cell("%4.0f fps", rate);
    out << heading << "  margin" << std::endl;
    std::optional<float> smallest;
    std::size_t tightest = 0;
    for (std::size_t place = 0; place <= course.rings.size(); ++place) {
        std::string line = place < course.rings.size() ? cell("ring %-5.0f", static_cast<double>(place + 1))
                                                       : "finish    ";
        std::optional<float> margin = course.fullPower;
        for (const CourseFlight& flight : flights) {
            const std::optional<float>& arrival = flight.arrivals[place];
            line += arrival ? cell("%8.1f", *arrival) : flight.won ? "    skip" : "       -";
            margin = arrival && margin ? std::optional<float>(std::min(*margin, *arrival)) : std::nullopt;
        }
        line += margin ? cell("%8.1f", *margin) : "       -";
        out << line << std::endl;
        if (margin && (!smallest || *margin < *smallest)) {
            smallest = margin;
            tightest = place;
        }
    }

    const std::string why = fault(flights, course);
    if (!why.empty()) {
        out << why << std::endl;
        return false;
    }
    out << "winnable: the smallest margin is " << cell("%.1f", smallest.value_or(0.0f)) << " ("
        << placeName(tightest, course) << ")" << std::endl;
    return true;
}
