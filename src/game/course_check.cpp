// The course check's flights.
#include "game/course_check.h"

#include "game/flight.h"
#include "game/pilot.h"
#include "game/simulation.h"

#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

#include <algorithm>

namespace {

bool outOfReach(glm::vec3 centre, float radius, const Course& course)
{
    const float fromAxis = glm::length(glm::vec2(centre.x, centre.z));
    return fromAxis - fairyHorizontalLimit(course) >= radius || floorHeight - centre.y >= radius;
}

// A run flown so far: the rules' state, the pilot's cursor, and the power
// on arrival at each place it reached.
struct Run {
    Simulation simulation;
    CursorPosition cursor;
    std::vector<std::optional<float>> arrivals;
};

// Flies `run` on to ring `target` (rings.size(): the finish); true when it got there.
bool flyLeg(Run& run, std::size_t target, float step)
{
    Simulation& simulation = run.simulation;
    const Course& course = simulation.course;
    const bool toFinish = target == course.rings.size();
    Pilot pilot(toFinish ? std::vector<int>{} : std::vector<int>{static_cast<int>(target)}, 0.0f, run.cursor);
    HeldKeys forward;
    forward.forward = true;
    for (float flown = 0.0f; flown <= checkedLegSeconds; flown += step) {
        run.cursor = pilot.aim(simulation);
        const float power = std::max(simulation.state.fairyPower - course.drainPerSecond * step, 0.0f);
        const SimulationStep frame = stepSimulation(simulation, step, forward, run.cursor, 1.0f);
        if (frame.ringPassed >= 0)
            run.arrivals[static_cast<std::size_t>(frame.ringPassed)] = power;
        if (frame.end == RunEnd::won)
            run.arrivals.back() = power;
        if (frame.powerRanOut || frame.end != RunEnd::none)
            return frame.end == RunEnd::won && toFinish;
        if (!toFinish && simulation.state.ringPassed[target])
            return true;
    }
    return false;
}

// More power in hand, then more rings passed.
bool better(const Run& a, const Run& b)
{
    const GameState& x = a.simulation.state;
    const GameState& y = b.simulation.state;
    return x.fairyPower != y.fairyPower ? x.fairyPower > y.fairyPower : x.totalPassed > y.totalPassed;
}

}  // namespace

std::optional<std::size_t> hiddenRing(const Course& course)
{
    for (std::size_t i = 0; i < course.rings.size(); ++i)
        if (outOfReach(course.rings[i], course.ringPassRadius, course))
            return i;
    if (outOfReach(course.finish, course.finishRadius, course))
        return course.rings.size();
    return std::nullopt;
}

CourseFlight flyCourse(const Course& course, int framesPerSecond)
{
    const float step = 1.0f / static_cast<float>(framesPerSecond);
    const std::size_t places = course.rings.size() + 1;
    Run start{makeSimulation(CameraSettings{}, CursorPosition{}, course), CursorPosition{},
              std::vector<std::optional<float>>(places)};
    // The best run that ends at each place, by the leg that reached it.
    std::vector<std::optional<Run>> best(places);
    for (std::size_t target = 0; target < places; ++target) {
        for (std::size_t from = 0; from <= target; ++from) {
            const std::optional<Run>& source = from == 0 ? std::optional<Run>(start) : best[from - 1];
            if (!source || (target < course.rings.size() && source->simulation.state.ringPassed[target]))
                continue;
            Run run = *source;
            if (flyLeg(run, target, step) && (!best[target] || better(run, *best[target])))
                best[target] = std::move(run);
        }
    }
    CourseFlight flight;
    flight.framesPerSecond = framesPerSecond;
    for (std::size_t place = 0; place < course.rings.size() && !flight.unreachable; ++place)
        if (!best[place])
            flight.unreachable = place;
    flight.won = best.back().has_value();
    const auto lastReached = std::find_if(best.rbegin(), best.rend(), [](const auto& run) { return run.has_value(); });
    flight.arrivals = lastReached == best.rend() ? start.arrivals : (*lastReached)->arrivals;
    return flight;
}
