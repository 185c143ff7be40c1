// Timing of GL work in sections, two ways at once: a GL_TIME_ELAPSED query
// around each piece of a section (the driver's own clock), and the wall
// clock from the start of the piece to a glFinish after it (all the CPU and
// rasterizer time it costs when nothing overlaps it). A section may be
// timed in several pieces in one frame, as the blur's passes are; its times
// are their sums.
#pragma once

#include <GL/glew.h>

#include <array>
#include <cstdint>

class PassTimer {
public:
    static constexpr int maxSections = 5;
    static constexpr int maxPieces = 16;

    PassTimer();
    ~PassTimer();
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

    // Finishes earlier GL work so the first piece starts from an idle
    // driver, and forgets the last frame's times.
    void beginFrame();
    void beginPiece(int section);
    void endPiece();

    // Milliseconds of the section in this frame; waits for its queries.
    double queryMilliseconds(int section) const;
    double wallMilliseconds(int section) const { return wall_[section]; }

private:
    std::array<GLuint, maxPieces> queries_{};
    std::array<int, maxPieces> sectionOfQuery_{};
    std::array<double, maxSections> wall_{};
    int piecesUsed_ = 0;
    int currentSection_ = 0;
    std::int64_t pieceStartNs_ = 0;
};
