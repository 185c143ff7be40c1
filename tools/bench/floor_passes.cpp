#include "floor_passes.h"

#include "pass_timer.h"
#include "stats.h"

#include "framework/shader.h"
#include "scene/fullscreen_quad.h"
#include "scene/render_targets.h"

#include <vector>

namespace {

struct PassSeries {
    std::vector<double> query;
    std::vector<double> wall;
};

// One full-screen pass of `shader` from `source` into ping-pong target `target`.
void drawPass(Shader& shader, const FullscreenQuad& quad, GLuint framebuffer, GLuint source)
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    shader.use();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, source);
    quad.draw();
}

template <typename Draw>
void timePass(PassTimer& timer, PassSeries& series, Draw&& draw)
{
    timer.beginFrame();
    // As in the frame, each pass switches framebuffers as it starts.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    timer.beginSection(0);
    draw();
    timer.endSection(0);
    series.query.push_back(timer.queryMilliseconds(0));
    series.wall.push_back(timer.wallMilliseconds(0));
}

}  // namespace

FloorTimes timeFloorPasses(const RenderTargets& targets, int repetitions)
{
    Shader floorShader("tools/bench/shaders/singleFetch.vert", "tools/bench/shaders/singleFetch.frag");
    Shader blurShader("assets/shaders/bloomBlur.vert", "assets/shaders/bloomBlur.frag");
    FullscreenQuad quad;
    PassTimer timer;
    PassSeries floor, horizontal, vertical;

    // The first round compiles what each pass needs and is not counted.
    for (int round = -1; round < repetitions; ++round) {
        const bool counted = round >= 0;
        PassSeries ignored;
        timePass(timer, counted ? floor : ignored, [&] {
            drawPass(floorShader, quad, targets.pingpongFramebuffer(1), targets.brightColorTexture());
        });
        timePass(timer, counted ? horizontal : ignored, [&] {
            blurShader.use();
            blurShader.setUniform("horizontal", 1);
            drawPass(blurShader, quad, targets.pingpongFramebuffer(1), targets.brightColorTexture());
        });
        timePass(timer, counted ? vertical : ignored, [&] {
            blurShader.use();
            blurShader.setUniform("horizontal", 0);
            drawPass(blurShader, quad, targets.pingpongFramebuffer(0), targets.pingpongTexture(1));
        });
    }
    glBindVertexArray(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    FloorTimes times;
    times.floorQuery = median(floor.query);
    times.floorWall = median(floor.wall);
    times.horizontalQuery = median(horizontal.query);
    times.horizontalWall = median(horizontal.wall);
    times.verticalQuery = median(vertical.query);
    times.verticalWall = median(vertical.wall);
    return times;
}
