#include "ghost_file.h"

#include "framework/file_io.h"
#include "game/run_hash.h"

#include <unistd.h>

#include <cstdio>

namespace {

std::string folderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('/'));
}

}  // namespace

std::string ghostPath(const std::string& dataFolder, const CourseId& course)
{
    if (dataFolder.empty())
        return "";
    return dataFolder + "/ghosts/" + course.name + "-" + hashText(course.hash) + ".replay";
}

std::optional<Replay> loadGhost(const std::string& path, const CourseId& course, std::ostream& console)
{
    if (path.empty() || isMissing(path))
        return std::nullopt;
    const std::optional<std::string> bytes = readWholeFile(path);
    ReplayParse parse = bytes ? parseReplay(*bytes) : ReplayParse{std::nullopt, "it cannot be read"};
    if (parse.replay && !(parse.error = courseMismatch(parse.replay->header, course)).empty())
        parse.replay.reset();
    if (!parse.replay)
        console << "The ghost in '" << path << "' cannot be played: " << parse.error
                << ". The run plays without it." << std::endl;
    return std::move(parse.replay);
}

bool saveGhost(const std::string& path, const Replay& replay, std::ostream& console)
{
    if (path.empty()) {
        console << "The best run cannot be kept as a ghost: there is no data folder (neither $XDG_DATA_HOME nor "
                   "$HOME is set)."
                << std::endl;
        return false;
    }
    const std::string temporary = path + ".new";
    if (!makeFolders(folderOf(path)) || !writeDurably(temporary, formatReplay(replay)) ||
        std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        console << "The best run cannot be kept as a ghost: '" << path << "' could not be written." << std::endl;
        return false;
    }
    syncFolder(folderOf(path));
    return true;
}
