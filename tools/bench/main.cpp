// The bench as `make bench` runs it: per size, fresh measuring processes of
// this same executable, one more under callgrind, then the table on standard
// output and in a file. Spawned with --measure, it is one of those processes.
#include "bench.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

extern char** environ;
namespace fs = std::filesystem;

namespace {

// Runs a program to its end with its output in `logPath`: its exit status,
// or -1 when it could not start or did not exit normally.
int runChild(const std::vector<std::string>& arguments, const std::string& logPath)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (error != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// One fresh measuring process, run by `command` (which ends with our executable), logging to `logPath`.
SizeRun measure(std::vector<std::string> command, const std::string& mode, const FrameSize& size, int frames,
                const std::string& logPath)
{
    for (const std::string& argument :
         {std::string("--measure"), mode, size.text(), std::to_string(frames), std::to_string(nowNanoseconds())})
        command.push_back(argument);
    const int status = runChild(command, logPath);
    return {size, Results::read(logPath), 1, status, static_cast<int>(linesStarting(logPath, "OpenGL Error").size()),
            logPath};
}

// Each run is one measuring process and one timing the loaders, both fresh;
// the figures are the runs' medians, the status and log the first failure's.
SizeRun measureSize(const std::string& self, const FrameSize& size, const BenchOptions& options,
                    const std::string& workDir)
{
    SizeRun combined{size, {}, options.runs, 0, 0, ""};
    std::vector<Results> results;
    for (int i = 1; i <= options.runs; ++i) {
        std::cerr << "bench: measuring " << size.text() << ", run " << i << " of " << options.runs << " ..."
                  << std::endl;
        const std::string name = size.text() + "-" + std::to_string(i) + ".log";
        SizeRun run = measure({self}, "frames", size, options.frames, workDir + "/measure-" + name);
        // The loaders in a fresh process of their own, cold as buildLevel meets them.
        const SizeRun loaders = measure({self}, "loaders", size, options.frames, workDir + "/loaders-" + name);
        run.results.values.insert(loaders.results.values.begin(), loaders.results.values.end());
        run.debugMessages += loaders.debugMessages;
        if (run.exitStatus == 0 && loaders.exitStatus != 0) {
            run.exitStatus = loaders.exitStatus;
            run.logPath = loaders.logPath;
        }
        combined.debugMessages += run.debugMessages;
        if (run.exitStatus != 0 && combined.exitStatus == 0) {
            combined.exitStatus = run.exitStatus;
            combined.logPath = run.logPath;
        }
        if (combined.logPath.empty() && run.debugMessages > 0)
            combined.logPath = run.logPath;
        results.push_back(std::move(run.results));
    }
    combined.results = Results::medianOf(results);
    return combined;
}

CallgrindRun countInstructions(const std::string& self, bool wanted, const std::string& workDir)
{
    if (!wanted)
        return {"--no-callgrind", self, {}};
    const std::string outFile = workDir + "/callgrind.out";
    fs::remove(outFile);
    std::cerr << "bench: counting instructions under callgrind at " << callgrindSize.text() << " ..." << std::endl;
    // The rasterizer on the main thread: every instruction of a frame is on the counted thread.
    const SizeRun run = measure({"env", "LP_NUM_THREADS=0", "valgrind", "--tool=callgrind", "--instr-atstart=no",
                                 "--compress-strings=no", "--compress-pos=no", "--callgrind-out-file=" + outFile, self},
                                "callgrind", callgrindSize, callgrindFrames, workDir + "/callgrind.log");
    if (run.exitStatus == 127)  // env found no valgrind
        return {"valgrind is not installed", self, {}};
    if (run.exitStatus != 0)
        return {"the callgrind run failed (status " + std::to_string(run.exitStatus) + "), see " + run.logPath, self,
                {}};
    const CallgrindSplit split = splitCallgrindFile(outFile, self);
    return {split.read ? "" : "no callgrind output in " + outFile, self, split};
}

std::string loadAverage()  // the 1-minute one
{
    const std::vector<std::string> averages = linesStarting("/proc/loadavg", "");
    return averages.empty() ? "" : averages[0].substr(0, averages[0].find(' '));
}

}  // namespace

int main(int argc, char** argv)
{
    // The game reads its assets relative to the working directory, from the repository root.
    if (argc == 6 && std::string(argv[1]) == "--measure") {
        fs::current_path(GLIMMERDEEP_SOURCE_DIR);
        return runMeasurement(argv[2], parseFrameSize(argv[3]).value_or(FrameSize{}), std::atoi(argv[4]),
                              std::strtoll(argv[5], nullptr, 10));
    }
    const auto options = parseBenchOptions(argc, argv, std::cerr);
    if (!options)
        return 2;
    const std::string outPath = options->outPath.empty() ? "" : fs::absolute(options->outPath).string();
    const std::string workDir =
        !options->workDir.empty() ? fs::absolute(options->workDir).string()
        : !outPath.empty()        ? fs::path(outPath).parent_path().string()
                                  : (fs::temp_directory_path() / ("glimmerdeep-bench-" + std::to_string(getpid()))).string();
    fs::current_path(GLIMMERDEEP_SOURCE_DIR);
    fs::create_directories(workDir);
    const std::string self = fs::canonical("/proc/self/exe").string();

    const std::vector<std::string> cpu = linesStarting("/proc/cpuinfo", "model name");
    const char* threads = std::getenv("LP_NUM_THREADS");
    MachineInfo machine{cpu.empty() ? "unknown CPU" : cpu[0].substr(cpu[0].find(':') + 2),
                        static_cast<int>(std::thread::hardware_concurrency()), loadAverage(), "",
                        threads ? std::string("=") + threads : "unset (one thread per core)"};
    std::vector<SizeRun> runs;
    for (const FrameSize& size : options->sizes)
        runs.push_back(measureSize(self, size, *options, workDir));
    const CallgrindRun callgrind = countInstructions(self, options->callgrind, workDir);
    machine.loadAfter = loadAverage();

    const std::string table = formatReport(runs, callgrind, machine);
    std::cout << table << std::flush;
    if (!outPath.empty() && !(std::ofstream(outPath, std::ios::trunc) << table)) {
        std::cerr << "bench: cannot write " << outPath << '\n';
        return 1;
    }
    for (const SizeRun& run : runs)
        if (run.exitStatus != 0)
            return 1;
    return 0;
}
