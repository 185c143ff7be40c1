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

template <typename Draw>
void timePass(PassTimer& timer, PassSeries& series, Draw&& draw)
{
    timer.beginFrame();
    timer.beginPiece(0);
    draw();
    timer.endPiece();
    series.query.push_back(timer.queryMilliseconds(0));
    series.wall.push_back(timer.wallMilliseconds(0));
}

}  // namespace

FloorTimes timeFloorPasses(const RenderTargets& targets, int repetitions)
{
    Shader oneFetch("tools/bench/shaders/singleFetch.vert", "tools/bench/shaders/singleFetch.frag");
    Shader twoFetch("tools/bench/shaders/singleFetch.vert", "tools/bench/shaders/twoFetch.frag");
    twoFetch.use();
    twoFetch.setUniform("sceneTexture", 0);
    twoFetch.setUniform("bloomTexture", 1);
    FullscreenQuad quad;
    PassTimer timer;
    PassSeries one, two;

    // The first round compiles what each pass needs and is not counted.
    for (int round = -1; round < repetitions; ++round) {
        PassSeries ignored;
        timePass(timer, round >= 0 ? one : ignored, [&] {
            glBindFramebuffer(GL_FRAMEBUFFER, targets.pingpongFramebuffer(1));
            glViewport(0, 0, targets.bloomWidth(), targets.bloomHeight());
            oneFetch.use();
            glActiveTexture(GL_TEXTURE0);
            glBindTexture(GL_TEXTURE_2D, targets.brightColorTexture());
            quad.draw();
        });
        timePass(timer, round >= 0 ? two : ignored, [&] {
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
            glViewport(0, 0, targets.width(), targets.height());
            twoFetch.use();
            glActiveTexture(GL_TEXTURE0);
            glBindTexture(GL_TEXTURE_2D, targets.sceneColorTexture());
            glActiveTexture(GL_TEXTURE1);
            glBindTexture(GL_TEXTURE_2D, targets.pingpongTexture(0));
            quad.draw();
            glActiveTexture(GL_TEXTURE0);
        });
    }
    glBindVertexArray(0);

    FloorTimes times;
    times.oneFetchQuery = median(one.query);
    times.oneFetchWall = median(one.wall);
    times.twoFetchQuery = median(two.query);
    times.twoFetchWall = median(two.wall);
    return times;
}
