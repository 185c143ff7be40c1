#include "settings.h"

#include "settings_file.h"
#include "settings_reader.h"
#include "framework/file_io.h"

#include <cstdlib>
#include <optional>

namespace {

// The player's file of this kind: none, in silence, when it is not there;
// none, with a line, when it is there but cannot be read.
std::optional<SettingsFile> readPlayersFile(const std::string& folder, const SettingsFileInfo& file,
                                              std::ostream& console)
{
    const std::string path = playersPath(folder, file);
    if (folder.empty() || isMissing(path))
        return std::nullopt;
    const std::optional<std::string> text = readWholeFile(path);
    if (!text) {
        console << "WARNING: '" << path << "' cannot be read. It is ignored." << std::endl;
        return std::nullopt;
    }
    return SettingsFile(path, *text, console);
}

// Every key of `file` that `layer`, a file of the player's, gives.
void markPlayersKeys(Settings& settings, SettingsFileId file, const SettingsFile* layer)
{
    for (const SettingKey& key : settingsTable())
        if (layer && key.file == file && layer->value(sectionOf(key), key.name))
            settings.givenByPlayer.insert(std::string(sectionOf(key)) + "." + key.name);
}

}  // namespace

std::string playerSettingsFolder()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config) + "/glimmerdeep";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.config/glimmerdeep";
    return "";
}

Settings loadSettings(const CommandLineOptions& options, std::ostream& console, const std::string& playerFolder)
{
    Settings settings;
    for (const SettingsFileInfo& file : settingsFiles()) {
        const std::optional<std::string> named = file.option ? options.*file.option : std::nullopt;
        const SettingsFile base(named.value_or(file.shippedPath), console);
        const std::optional<SettingsFile> own = readPlayersFile(playerFolder, file, console);
        std::vector<const SettingsFile*> layers = {&base};
        if (own)
            layers.insert(named ? layers.begin() : layers.end(), &*own);
        readSettingsFile(settings, file.id, layers, console);
        for (const SettingsFile* layer : {named ? &base : nullptr, own ? &*own : nullptr})
            markPlayersKeys(settings, file.id, layer);
    }
    if (options.noSound)
        settings.audio.enabled = false;
    return settings;
}

void fitWindowSize(Settings& settings, int maxWidth, int maxHeight, const char* limit, std::ostream& console)
{
    const auto fit = [&](int& side, const std::string& key, int max) {
        if (side <= max)
            return;
        const auto given = settings.givenBy.find("window." + key);
        console << "WARNING: '"
                << (given != settings.givenBy.end() ? given->second : settingsFile(SettingsFileId::window).shippedPath)
                << "': " << key << " = " << side << " " << limit << ". Using " << max << " instead." << std::endl;
        side = max;
    };
    fit(settings.window.width, "width", maxWidth);
    fit(settings.window.height, "height", maxHeight);
}
