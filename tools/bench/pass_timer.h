// Timing of GL work in sections, two ways at once: a GL_TIME_ELAPSED query
// around each section (the driver's own clock), and the wall clock from the
// end of the previous section to a glFinish after this one (all the CPU and
// rasterizer time the section costs when nothing overlaps it).
#pragma once

#include <GL/glew.h>

#include <array>
#include <cstdint>

class PassTimer {
public:
    static constexpr int maxSections = 4;

    PassTimer();
    ~PassTimer();
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

    // Finishes earlier GL work so the first section starts from an idle driver.
    void beginFrame();
    void beginSection(int index);
    void endSection(int index);

    // Milliseconds of the section in the last frame; waits for the query.
    double queryMilliseconds(int index) const;
    double wallMilliseconds(int index) const { return wall_[index]; }

private:
    std::array<GLuint, maxSections> queries_{};
    std::array<double, maxSections> wall_{};
    std::int64_t sectionStartNs_ = 0;
};
