// Glimmerdeep's entry point: the start-up sequence, the frame loop and the
// shut-down, in the order they happen.
#include "app.h"
#include "best_time.h"
#include "command_line.h"
#include "course_catalog.h"
#include "course_choice.h"
#include "course_report.h"
#include "frame_loop.h"
#include "ghost_file.h"
#include "player_menu.h"
#include "replay.h"
#include "replay_writer.h"
#include "results.h"
#include "startup.h"
#include "version.h"
#include "framework/console.h"
#include "audio/game_sound.h"
#include "framework/asset_path.h"
#include "framework/file_io.h"
#include "game/run_hash.h"

#include <GLFW/glfw3.h>

#include <random>

namespace {

// The replay named on the command line, or the line that says why it cannot
// be played on `course`.
std::optional<Replay> readReplay(const std::string& path, const CourseId& course)
{
    const std::optional<std::string> bytes = readWholeFile(path);
    ReplayParse parse = bytes ? parseReplay(*bytes) : ReplayParse{std::nullopt, "it cannot be read"};
    if (parse.replay && !(parse.error = courseMismatch(parse.replay->header, course)).empty())
        parse.replay.reset();
    if (!parse.replay)
        report(Severity::error, "Cannot replay '" + path + "': " + parse.error + ".");
    return std::move(parse.replay);
}

}  // namespace

int main(int argc, char** argv)
{
    ReportingStream commandLineWarnings(Severity::warning, Topic::launch);
    const CommandLineOptions options = parseCommandLine(argc, argv, commandLineWarnings);
    if (options.help) {
        ReportingStream usage(Severity::information);
        printUsage(usage);
        return 0;
    }
    if (options.version) {
        report(Severity::information, std::string("Glimmerdeep ") + gameVersion);
        return 0;
    }
    if (options.checkCoursePath) {
        ReportingStream lines(Severity::information);
        const std::optional<Course> course = loadCourse(*options.checkCoursePath, lines);
        return course && reportCourseCheck(*course, lines) ? 0 : 1;
    }
    std::optional<Course> course;
    {
        ReportingStream courseLines(Severity::error);
        if (!(course = loadCourseToFly(options.course, courseLines)))
            return 1;
    }
    const CourseId courseId{course->name, course->fileHash};
    std::optional<Replay> replay;
    if (options.replayPath && !(replay = readReplay(*options.replayPath, courseId)))
        return 1;
    report(Severity::information, ":::::: STARTING GLIMMERDEEP  ::::::");

    App app;
    // A replay plays with the menus or without them, as it was recorded.
    app.playerMode = replay ? replay->header.playerMode : options.playerMode;
    app.saveOptions = !replay;
    app.course = std::move(*course);
    ReportingStream settingsWarnings(Severity::warning);
    app.settings = loadSettings(options, settingsWarnings);
    app.switches = initialSwitches(app.settings);
    ReplayHeader header{gameVersion, app.settings.camera, std::random_device{}(), {}, courseId, app.playerMode};
    if (replay) {
        // A replay plays with the values it was recorded with.
        header = replay->header;
        const CameraSettings local = app.settings.camera;
        app.settings.camera = header.camera;
        app.settings.camera.near = local.near;
        app.settings.camera.far = local.far;
    }

    openMainWindow(app);
    prepareRendering(app);
    app.level = buildLevel(app.course, app.renderTargets.width(), app.renderTargets.height());
    if (app.playerMode)
        addGhost(*app.level);
    settleCapturedCursor(app);
    header.startCursor = replay ? header.startCursor : app.startCursor;
    app.simulation = makeSimulation(app.settings.camera, header.startCursor, app.course);
    app.particles.seed(header.seed);

    RunOptions run;
    run.course = courseId;
    ReportingStream recordingWarnings(Severity::warning);
    ReplayWriter recorder(recordingWarnings);
    if (options.recordPath) {
        if (!recorder.open(*options.recordPath, header)) {
            report(Severity::error, "Cannot record to '" + *options.recordPath + "': it cannot be written.");
            releaseRendering(app);
            glfwTerminate();
            return 1;
        }
        run.recorder = &recorder;
    }
    // Sound hook-up: opened once the level stands; the loop feeds it each frame.
    ReportingStream soundLines(Severity::warning);
    GameSound sound = GameSound::open(app.settings.audio, findAssetPath, soundLines);
    run.sound = &sound;
    run.replay = replay ? &*replay : nullptr;
    run.replayAsFastAsDrawn = options.replayAsFastAsDrawn;
    if (app.settings.window.keepResults && !replay)
        run.results.emplace(resultsFolder());
    if (app.playerMode && !replay) {
        ReportingStream ghostLines(Severity::warning);
        run.ghostPath = ghostPath(resultsFolder(), courseId);
        if (std::optional<Replay> best = loadGhost(run.ghostPath, courseId, ghostLines))
            app.ghost.emplace(std::move(*best), app.course);
        run.ghostTake.emplace(header);
    }
    if (app.playerMode) {
        ResultsFile* results = run.results ? &*run.results : nullptr;
        showTitle(app, keptBestTime(results, courseId));
        const bool byFile = options.course && namesCourseFile(*options.course);
        offerCourses(app, availableCourses(), byFile ? *options.course : "", results);
        report(Severity::information, "Title screen");
    }

    runFrameLoop(app, run);

    if (options.recordPath || replay) {
        const std::uint64_t hash = runHash(app.simulation, app.particles);
        report(Severity::information, "Run hash: " + hashText(hash));
        recorder.finish(hash);
        if (replay && replay->endHash)
            report(Severity::information, *replay->endHash == hash ? "The replay ended as its recording did."
                                                                   : "The replay ended otherwise than its recording (" +
                                                                         hashText(*replay->endHash) + ").");
    }
    // Everything that owns a GL object goes while the context still exists.
    releaseRendering(app);
    glfwTerminate();
    return 0;
}
