#include "pass_timer.h"

#include "clock.h"

PassTimer::PassTimer()
{
    glGenQueries(maxSections, queries_.data());
}

PassTimer::~PassTimer()
{
    glDeleteQueries(maxSections, queries_.data());
}

void PassTimer::beginFrame()
{
    glFinish();
}

void PassTimer::beginSection(int index)
{
    sectionStartNs_ = nowNanoseconds();
    glBeginQuery(GL_TIME_ELAPSED, queries_[index]);
}

void PassTimer::endSection(int index)
{
    glEndQuery(GL_TIME_ELAPSED);
    glFinish();
    wall_[index] = millisecondsBetween(sectionStartNs_, nowNanoseconds());
}

double PassTimer::queryMilliseconds(int index) const
{
    GLuint64 nanoseconds = 0;
    glGetQueryObjectui64v(queries_[index], GL_QUERY_RESULT, &nanoseconds);
    return static_cast<double>(nanoseconds) / 1.0e6;
}
