#include "pass_timer.h"

#include "clock.h"

PassTimer::PassTimer()
{
    glGenQueries(maxPieces, queries_.data());
}

PassTimer::~PassTimer()
{
    glDeleteQueries(maxPieces, queries_.data());
}

void PassTimer::beginFrame()
{
    glFinish();
    wall_.fill(0.0);
    piecesUsed_ = 0;
}

void PassTimer::beginPiece(int section)
{
    currentSection_ = section;
    sectionOfQuery_[piecesUsed_] = section;
    pieceStartNs_ = nowNanoseconds();
    glBeginQuery(GL_TIME_ELAPSED, queries_[piecesUsed_]);
}

void PassTimer::endPiece()
{
    glEndQuery(GL_TIME_ELAPSED);
    glFinish();
    wall_[currentSection_] += millisecondsBetween(pieceStartNs_, nowNanoseconds());
    ++piecesUsed_;
}

double PassTimer::queryMilliseconds(int section) const
{
    double total = 0.0;
    for (int i = 0; i < piecesUsed_; ++i) {
        if (sectionOfQuery_[i] != section)
            continue;
        GLuint64 nanoseconds = 0;
        glGetQueryObjectui64v(queries_[i], GL_QUERY_RESULT, &nanoseconds);
        total += static_cast<double>(nanoseconds) / 1.0e6;
    }
    return total;
}
