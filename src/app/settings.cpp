#include "settings.h"

#include "settings_file.h"
#include "settings_reader.h"

#include <optional>

Settings loadSettings(const CommandLineOptions& options, std::ostream& console)
{
    Settings settings;
    for (const SettingsFileInfo& file : settingsFiles()) {
        const std::optional<std::string> named = file.option ? options.*file.option : std::nullopt;
        const SettingsFile base(named.value_or(file.shippedPath), console);
        readSettingsFile(settings, file.id, {&base}, console);
    }
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
