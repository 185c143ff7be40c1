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
#include <sstream>
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
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (error != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// The first executable `name` on PATH; "" when none.
std::string findOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::istringstream directories(path ? path : "");
    for (std::string directory; std::getline(directories, directory, ':');)
        if (!directory.empty() && access((directory + "/" + name).c_str(), X_OK) == 0)
            return directory + "/" + name;
    return "";
}

// The first line of `path` that starts with `prefix`, less the prefix; how many there are in `count`.
std::string lineStarting(const std::string& path, const std::string& prefix, int* count = nullptr)
{
    std::ifstream file(path);
    std::string first;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind(prefix, 0) != 0)
            continue;
        if (first.empty())
            first = line.substr(prefix.size());
        if (count)
            ++*count;
    }
    return first;
}

struct Measured {
    Results results;
    int exitStatus = -1;
    std::string logPath;
};

// One fresh measuring process of `executable` (the last of `command`), its
// results and log beside `base`.
Measured measure(std::vector<std::string> command, const std::string& mode, const FrameSize& size, int frames,
                 const std::string& base)
{
    fs::remove(base + ".txt");
    for (const std::string& argument : {std::string("--measure"), mode, size.text(), base + ".txt",
                                        std::to_string(frames), std::to_string(nowNanoseconds())})
        command.push_back(argument);
    const int status = runChild(command, base + ".log");
    return {Results::read(base + ".txt"), status, base + ".log"};
}

// Each run is one measuring process and one timing the loaders, both fresh;
// the figures are the runs' medians, the status and log the first failure's.
SizeRun measureSize(const std::string& executable, const FrameSize& size, const BenchOptions& options,
                    const std::string& workDir)
{
    SizeRun combined{size, {}, options.runs, 0, 0, ""};
    std::vector<Results> results;
    for (int i = 1; i <= options.runs; ++i) {
        std::cerr << "bench: measuring " << size.text() << ", run " << i << " of " << options.runs << " ..."
                  << std::endl;
        const std::string name = size.text() + "-" + std::to_string(i);
        Measured run = measure({executable}, "frames", size, options.frames, workDir + "/measure-" + name);
        // The loaders in a fresh process of their own, cold as buildLevel meets them.
        const Measured loaders = measure({executable}, "loaders", size, options.frames, workDir + "/loaders-" + name);
        for (const auto& [key, value] : loaders.results.values)
            run.results.values[key] = value;
        int debugMessages = 0;
        lineStarting(run.logPath, "OpenGL Error", &debugMessages);
        lineStarting(loaders.logPath, "OpenGL Error", &debugMessages);
        if (run.exitStatus == 0 && loaders.exitStatus != 0)
            run = {std::move(run.results), loaders.exitStatus, loaders.logPath};
        combined.debugMessages += debugMessages;
        if (run.exitStatus != 0 && combined.exitStatus == 0) {
            combined.exitStatus = run.exitStatus;
            combined.logPath = run.logPath;
        }
        if (combined.logPath.empty() && debugMessages > 0)
            combined.logPath = run.logPath;
        results.push_back(std::move(run.results));
    }
    combined.results = Results::medianOf(results);
    return combined;
}

CallgrindRun countInstructions(const std::string& executable, const BenchOptions& options,
                               const std::string& workDir)
{
    const std::string valgrind = findOnPath("valgrind"), outFile = workDir + "/callgrind.out";
    if (!options.callgrind || valgrind.empty())
        return {options.callgrind ? "valgrind is not installed" : "--no-callgrind", executable, {}};
    fs::remove(outFile);
    std::cerr << "bench: counting instructions under callgrind at " << callgrindSize.text() << " ..." << std::endl;
    // The rasterizer on the main thread: every instruction of a frame is on the counted thread.
    const Measured run = measure({"/usr/bin/env", "LP_NUM_THREADS=0", valgrind, "--tool=callgrind",
                                  "--instr-atstart=no", "--callgrind-out-file=" + outFile, executable},
                                 "callgrind", callgrindSize, callgrindFrames, workDir + "/callgrind");
    if (run.exitStatus != 0)
        return {"the callgrind run failed (status " + std::to_string(run.exitStatus) + "), see " + run.logPath,
                executable, {}};
    const CallgrindSplit split = splitCallgrindFile(outFile, executable);
    return {split.read ? "" : "no callgrind output in " + outFile, executable, split};
}

}  // namespace

int main(int argc, char** argv)
{
    // The game reads its assets relative to the working directory, from the repository root.
    if (argc == 7 && std::string(argv[1]) == "--measure") {
        fs::current_path(GLIMMERDEEP_SOURCE_DIR);
        return runMeasurement({argv[2], parseFrameSize(argv[3]).value_or(FrameSize{}), argv[4], std::atoi(argv[5]),
                               std::strtoll(argv[6], nullptr, 10)});
    }
    const auto options = parseBenchOptions(argc, argv, std::cerr);
    if (!options)
        return 2;
    const std::string outPath = options->outPath.empty() ? "" : fs::absolute(options->outPath).string();
    const std::string workDir = !options->workDir.empty() ? fs::absolute(options->workDir).string()
                                : !outPath.empty()        ? fs::path(outPath).parent_path().string()
                                : (fs::temp_directory_path() / ("glimmerdeep-bench-" + std::to_string(getpid()))).string();
    fs::current_path(GLIMMERDEEP_SOURCE_DIR);
    fs::create_directories(workDir);
    const std::string executable = fs::canonical("/proc/self/exe").string();

    MachineInfo machine;
    machine.cpu = lineStarting("/proc/cpuinfo", "model name");
    machine.cpu = machine.cpu.empty() ? "unknown CPU" : machine.cpu.substr(machine.cpu.find(':') + 2);
    machine.cores = static_cast<int>(std::thread::hardware_concurrency());
    const auto loadAverage = [] {  // the 1-minute one
        const std::string averages = lineStarting("/proc/loadavg", "");
        return averages.substr(0, averages.find(' '));
    };
    machine.loadBefore = loadAverage();
    const char* threads = std::getenv("LP_NUM_THREADS");
    machine.threads = threads ? std::string("=") + threads : "unset (one thread per core)";

    std::vector<SizeRun> runs;
    for (const FrameSize& size : options->sizes)
        runs.push_back(measureSize(executable, size, *options, workDir));
    const CallgrindRun callgrind = countInstructions(executable, *options, workDir);
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
