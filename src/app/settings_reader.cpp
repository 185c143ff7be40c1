#include "settings_reader.h"

#include "settings_file.h"

#include <algorithm>
#include <map>

namespace {

// Where a key's value came from, for its line.
struct Given {
    std::string path;
    std::string text;
};

class FileReader {
public:
    FileReader(Settings& settings, SettingsFileId file, const std::vector<const SettingsFile*>& layers,
               std::ostream& console, const SettingsTable& table)
        : settings_(settings), layers_(layers), console_(console)
    {
        for (const SettingKey& key : table)
            if (key.file == file)
                keys_.push_back(&key);
    }

    // Every key first, so that a check may look at any key of the file.
    void read()
    {
        std::vector<const SettingKey*> misread;
        for (const SettingKey* key : keys_)
            if (!readKey(*key))
                misread.push_back(key);
        for (const SettingKey* key : keys_)
            check(*key, std::find(misread.begin(), misread.end(), key) != misread.end());
    }

private:
    // False for a word that is none of the key's words.
    bool readKey(const SettingKey& key)
    {
        Given given{layers_.empty() ? "" : layers_.back()->path(), ""};
        bool knownWord = true;
        for (auto layer = layers_.rbegin(); layer != layers_.rend(); ++layer) {
            if (const std::optional<std::string> text = (*layer)->value(sectionOf(key), key.name)) {
                given = {(*layer)->path(), *text};
                knownWord = key.field.read(settings_, *text, key.words) || key.field.kind != SettingKind::word;
                break;
            }
        }
        if (!layers_.empty())
            settings_.givenBy[std::string(sectionOf(key)) + "." + key.name] = given.path;
        given_[key.name] = given;
        return knownWord;
    }

    void check(const SettingKey& key, bool misread)
    {
        if (misread)
            replace(key, "is not " + wordList(key.words));
        if (key.outsideRange && !key.range.holds(key.field.number(settings_)))
            replace(key, key.outsideRange);
        for (const SettingCheck& check : key.checks)
            if (!check.usable(settings_))
                replace(keyNamed(check.key), check.reason);
    }

    void replace(const SettingKey& key, const std::string& reason)
    {
        const Given& given = given_[key.name];
        console_ << "WARNING: '" << given.path << "': " << key.name << " = " << given.text << " " << reason
                 << ". Using " << defaultText(key) << " instead." << std::endl;
        key.field.reset(settings_);
    }

    const SettingKey& keyNamed(const std::string& name) const
    {
        return **std::find_if(keys_.begin(), keys_.end(), [&](const SettingKey* key) { return key->name == name; });
    }

    Settings& settings_;
    const std::vector<const SettingsFile*>& layers_;
    std::ostream& console_;
    std::vector<const SettingKey*> keys_;
    std::map<std::string, Given> given_;
};

}  // namespace

void readSettingsFile(Settings& settings, SettingsFileId file, const std::vector<const SettingsFile*>& layers,
                      std::ostream& console, const SettingsTable& table)
{
    FileReader(settings, file, layers, console, table).read();
}
