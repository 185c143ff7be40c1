// The bench as `make bench` runs it: per size, fresh measuring processes of this same executable, one more under
// callgrind, then the table on standard output and in a file. Spawned with --measure, it is one of those processes.
#include "bench.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <thread>

extern char** environ;
namespace fs = std::filesystem;

namespace {

// A whole number from 1 to 1,000,000 and nothing else; 0 for anything else.
int positive(const std::string& text)
{
    int value = 0;
    char rest = 0;
    return std::sscanf(text.c_str(), "%d%c", &value, &rest) == 1 && value > 0 && value <= 1000000 ? value : 0;
}

// "800x600"; 0 by 0 for anything else.
FrameSize parseFrameSize(const std::string& text)
{
    const std::size_t x = text.find('x');
    const FrameSize size{positive(text.substr(0, x)), x == std::string::npos ? 0 : positive(text.substr(x + 1))};
    return size.width > 0 && size.height > 0 ? size : FrameSize{};
}

struct BenchOptions {
    int frames = 300;
    int runs = 3;  // measuring processes per size; each figure is the median of theirs
    std::vector<FrameSize> sizes{{800, 800}, {1280, 720}};
    bool callgrind = true;
    std::string outPath;  // the table is also written here when set
    std::string workDir;  // the children's logs and the callgrind file; next to outPath by default
};

// Nothing, after a line on standard error, when the arguments make no sense.
std::optional<BenchOptions> parseBenchOptions(int argc, char** argv)
{
    BenchOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const std::string value = option != "--no-callgrind" && i + 1 < argc ? argv[++i] : "";
        bool valid = true;
        if (option == "--no-callgrind") {
            options.callgrind = false;
        } else if (option == "--frames" || option == "--runs") {
            valid = ((option == "--frames" ? options.frames : options.runs) = positive(value)) > 0;
        } else if (option == "--sizes") {
            options.sizes.clear();
            std::istringstream list(value);
            for (std::string item; valid && std::getline(list, item, ',');) {
                options.sizes.push_back(parseFrameSize(item));
                valid = options.sizes.back().width > 0;
            }
            valid = valid && !options.sizes.empty();
        } else {
            valid = (option == "--out" || option == "--work-dir") && !value.empty();
            (option == "--out" ? options.outPath : options.workDir) = value;
        }
        if (!valid) {
            std::cerr << "bench: bad option " << option << " '" << value << "'\nusage: bench [--frames N] [--runs N] "
                      << "[--sizes WxH[,WxH...]] [--no-callgrind] [--out FILE] [--work-dir DIR]\n";
            return std::nullopt;
        }
    }
    return options;
}

// One fresh measuring process, run by `command` (which ends with our executable) to its end with its output in
// `logPath`; its status is -1 when it could not start or did not exit normally.
SizeRun measure(std::vector<std::string> command, const std::string& mode, const FrameSize& size, int frames,
                const std::string& logPath)
{
    const std::string spawnedAt = std::to_string(nowNanoseconds());
    command.insert(command.end(), {"--measure", mode, size.text(), std::to_string(frames), spawnedAt});
    std::vector<char*> argv;
    for (std::string& argument : command)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    int status = 0;
    const bool exited = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
                        waitpid(pid, &status, 0) == pid && WIFEXITED(status);
    posix_spawn_file_actions_destroy(&actions);
    return {size, Results::read(logPath), 1, exited ? WEXITSTATUS(status) : -1,
            static_cast<int>(linesStarting(logPath, "OpenGL Error").size()), logPath};
}

// Each run is a measuring process and one timing the loaders (cold, as buildLevel meets them), both fresh; the
// figures are the runs' medians, the status and log the first failure's.
SizeRun measureSize(const std::string& self, const FrameSize& size, const BenchOptions& options,
                    const std::string& workDir)
{
    SizeRun combined{size, {}, options.runs, 0, 0, ""};
    std::vector<Results> results(static_cast<std::size_t>(options.runs));
    for (int i = 0; i < options.runs; ++i) {
        std::cerr << "bench: measuring " << size.text() << ", run " << i + 1 << " of " << options.runs << " ..."
                  << std::endl;
        for (const std::string mode : {"frames", "loaders", "single_sample"}) {
            const std::string log = workDir + "/" + mode + "-" + size.text() + "-" + std::to_string(i + 1) + ".log";
            const SizeRun run = measure({self}, mode, size, options.frames, log);
            results[i].values.insert(run.results.values.begin(), run.results.values.end());
            combined.debugMessages += run.debugMessages;
            const bool firstFailure = run.exitStatus != 0 && combined.exitStatus == 0;
            if (firstFailure || (combined.logPath.empty() && run.debugMessages > 0))
                combined.logPath = run.logPath;
            combined.exitStatus = combined.exitStatus != 0 ? combined.exitStatus : run.exitStatus;
        }
    }
    combined.results = Results::medianOf(results);
    return combined;
}

CallgrindRun countInstructions(const std::string& self, const std::string& workDir)
{
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

}  // namespace

int main(int argc, char** argv)
{
    // The game reads its assets relative to the working directory, from the repository root.
    if (argc == 6 && std::string(argv[1]) == "--measure") {
        fs::current_path(GLIMMERDEEP_SOURCE_DIR);
        return runMeasurement(argv[2], parseFrameSize(argv[3]), std::atoi(argv[4]), std::strtoll(argv[5], nullptr, 10));
    }
    const std::optional<BenchOptions> options = parseBenchOptions(argc, argv);
    if (!options)
        return 2;
    const std::string outPath = options->outPath.empty() ? "" : fs::absolute(options->outPath).string();
    fs::path workDir = fs::temp_directory_path() / ("glimmerdeep-bench-" + std::to_string(getpid()));
    if (!options->workDir.empty() || !outPath.empty())
        workDir = options->workDir.empty() ? fs::path(outPath).parent_path() : fs::absolute(options->workDir);
    fs::current_path(GLIMMERDEEP_SOURCE_DIR);
    fs::create_directories(workDir);
    const std::string self = fs::canonical("/proc/self/exe").string();

    const auto loadAverage = [] {  // the 1-minute one
        const std::vector<std::string> averages = linesStarting("/proc/loadavg", "");
        return averages.empty() ? "" : averages[0].substr(0, averages[0].find(' '));
    };
    const std::vector<std::string> cpu = linesStarting("/proc/cpuinfo", "model name");
    const char* threads = std::getenv("LP_NUM_THREADS");
    const std::string machine = "Machine: " + (cpu.empty() ? "unknown CPU" : cpu[0].substr(cpu[0].find(':') + 2)) +
                                ", " + std::to_string(std::thread::hardware_concurrency()) + " cores, load average " +
                                loadAverage() + " before and ",
                      setup = " after; Xvfb, LIBGL_ALWAYS_SOFTWARE=1, LP_NUM_THREADS " +
                              (threads ? std::string("=") + threads : "unset (one thread per core)");
    std::vector<SizeRun> runs;
    for (const FrameSize& size : options->sizes)
        runs.push_back(measureSize(self, size, *options, workDir.string()));
    const CallgrindRun callgrind =
        options->callgrind ? countInstructions(self, workDir.string()) : CallgrindRun{"--no-callgrind", self, {}};
    const std::string table = formatReport(runs, callgrind, machine + loadAverage() + setup);
    std::cout << table << std::flush;
    if (!outPath.empty() && !(std::ofstream(outPath, std::ios::trunc) << table)) {
        std::cerr << "bench: cannot write " << outPath << '\n';
        return 1;
    }
    return std::any_of(runs.begin(), runs.end(), [](const SizeRun& run) { return run.exitStatus != 0; }) ? 1 : 0;
}
