#include "conductor.h"

#include "callgrind_split.h"
#include "child_process.h"
#include "clock.h"
#include "report.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string firstWordOf(const std::string& path)
{
    std::ifstream file(path);
    std::string word;
    file >> word;
    return word;
}

std::string cpuModel()
{
    std::ifstream file("/proc/cpuinfo");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("model name", 0) == 0)
            return line.substr(line.find(':') + 2);
    }
    return "unknown CPU";
}

int countLines(const std::string& path, const std::string& prefix)
{
    std::ifstream file(path);
    std::string line;
    int lines = 0;
    while (std::getline(file, line))
        lines += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return lines;
}

std::string workDirectory(const BenchOptions& options)
{
    if (!options.workDir.empty())
        return options.workDir;
    if (!options.outPath.empty())
        return fs::absolute(options.outPath).parent_path().string();
    return (fs::temp_directory_path() / ("glimmerdeep-bench-" + std::to_string(getpid()))).string();
}

// One measuring process and one timing the loaders, both fresh; the run's
// status is the first failure's, with its log.
SizeRun measureOnce(const std::string& executable, const FrameSize& size, const BenchOptions& options,
                    const std::string& workDir, int index)
{
    SizeRun run;
    run.size = size;
    const std::string name = size.text() + "-" + std::to_string(index + 1);
    run.logPath = workDir + "/measure-" + name + ".log";
    const std::string resultsPath = workDir + "/measure-" + name + ".txt";
    fs::remove(resultsPath);
    std::cerr << "bench: measuring " << size.text() << ", run " << index + 1 << " of " << options.runs << " ..."
              << std::endl;
    const std::vector<std::string> arguments = {executable, "--measure", size.text(), "--frames",
                                                std::to_string(options.frames), "--results", resultsPath,
                                                "--spawned-at", std::to_string(nowNanoseconds())};
    run.exitStatus = runChild(arguments, {}, run.logPath);
    run.results = Results::read(resultsPath);
    run.debugMessages = countLines(run.logPath, "OpenGL Error");

    // The loaders in a fresh process of their own, cold as buildLevel meets them.
    const std::string loadersLog = workDir + "/loaders-" + name + ".log";
    const std::string loadersResults = workDir + "/loaders-" + name + ".txt";
    fs::remove(loadersResults);
    const int loadersStatus = runChild(
        {executable, "--measure", size.text(), "--loaders-only", "--results", loadersResults}, {}, loadersLog);
    run.results.add(Results::read(loadersResults));
    run.debugMessages += countLines(loadersLog, "OpenGL Error");
    if (run.exitStatus == 0 && loadersStatus != 0) {
        run.exitStatus = loadersStatus;
        run.logPath = loadersLog;
    }
    return run;
}

// The runs of one size combined: medians, and the first failure if any.
SizeRun measureSize(const std::string& executable, const FrameSize& size, const BenchOptions& options,
                    const std::string& workDir)
{
    SizeRun combined;
    combined.size = size;
    combined.exitStatus = 0;
    std::vector<Results> results;
    for (int i = 0; i < options.runs; ++i) {
        SizeRun run = measureOnce(executable, size, options, workDir, i);
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
    combined.runs = options.runs;
    return combined;
}

CallgrindRun countInstructions(const std::string& executable, const BenchOptions& options,
                               const std::string& workDir)
{
    CallgrindRun run;
    run.size = options.callgrindSize;
    run.frames = options.callgrindFrames.value_or(5);
    run.ourObject = executable;
    if (!options.callgrind) {
        run.skippedBecause = "--no-callgrind";
        return run;
    }
    const std::string valgrind = findOnPath("valgrind");
    if (valgrind.empty()) {
        run.skippedBecause = "valgrind is not installed";
        return run;
    }
    run.logPath = workDir + "/callgrind.log";
    const std::string outFile = workDir + "/callgrind.out";
    const std::string resultsPath = workDir + "/callgrind.txt";
    fs::remove(outFile);
    std::cerr << "bench: counting instructions under callgrind at " << run.size.text() << " ..." << std::endl;
    const std::vector<std::string> arguments = {
        valgrind, "--tool=callgrind", "--instr-atstart=no", "--callgrind-out-file=" + outFile,
        executable, "--measure", run.size.text(), "--callgrind-frames", std::to_string(run.frames),
        "--results", resultsPath};
    // The rasterizer on the main thread: every instruction of a frame is on the counted thread.
    run.exitStatus = runChild(arguments, {"LP_NUM_THREADS=0"}, run.logPath);
    if (run.exitStatus != 0) {
        run.skippedBecause = "the callgrind run failed (status " + std::to_string(run.exitStatus) + "), see " +
                             run.logPath;
        return run;
    }
    run.split = splitCallgrindFile(outFile, executable);
    if (!run.split.read)
        run.skippedBecause = "no callgrind output in " + outFile;
    return run;
}

}  // namespace

int conductBench(const BenchOptions& options)
{
    const std::string workDir = workDirectory(options);
    fs::create_directories(workDir);
    const std::string executable = fs::canonical("/proc/self/exe").string();

    MachineInfo machine;
    machine.cpu = cpuModel();
    machine.cores = static_cast<int>(std::thread::hardware_concurrency());
    machine.loadBefore = firstWordOf("/proc/loadavg");
    const char* threads = std::getenv("LP_NUM_THREADS");
    machine.threads = threads ? std::string("=") + threads : "unset (one thread per core)";

    std::vector<SizeRun> runs;
    for (const FrameSize& size : options.sizes)
        runs.push_back(measureSize(executable, size, options, workDir));
    const CallgrindRun callgrind = countInstructions(executable, options, workDir);
    machine.loadAfter = firstWordOf("/proc/loadavg");

    const std::string table = formatReport(runs, callgrind, machine);
    std::cout << table << std::flush;
    if (!options.outPath.empty()) {
        std::ofstream file(options.outPath, std::ios::trunc);
        file << table;
        if (!file) {
            std::cerr << "bench: cannot write " << options.outPath << '\n';
            return 1;
        }
    }
    for (const SizeRun& run : runs)
        if (run.exitStatus != 0)
            return 1;
    return 0;
}
