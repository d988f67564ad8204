#include "application/settings.h"

#include "application/config_keys.h"
#include "markup/document.h"
#include "markup/tml_reader.h"

#include <memory>
#include <stdexcept>

namespace Application {

namespace {

// "Invalid integer 'abc' for window/width in config.tml", and for the kinds a player may not guess
// the form of, what the game takes.
std::string Refusal(const ConfigKey& key, ValueParse result, const Tml::Attribute& attribute,
                    const std::string& group, const std::string& path) {
    const std::string where = " '" + attribute.value + "' for " + group + "/" + attribute.key + " in " + path;
    if (result == ValueParse::OutOfRange) return "Integer out of range" + where;
    switch (key.kind) {
        case ConfigKind::Positive:
            return "Invalid positive number" + where + " (a number above 0, such as 1.5)";
        case ConfigKind::Fraction:
            return "Invalid number" + where + " (a number from 0 to 1, such as 0.8)";
        case ConfigKind::Boolean:
            return "Invalid boolean" + where + " (true or false)";
        default:
            return "Invalid integer" + where;
    }
}

void Apply(Settings& settings, const std::string& group, const Tml::Attribute& attribute,
           const std::string& path) {
    const ConfigKey* key = FindConfigKey(group, attribute.key);
    if (key == nullptr) return;
    ConfigValue value;
    const ValueParse result = ParseConfigValue(key->kind, attribute.value, value);
    if (result != ValueParse::Ok) {
        throw std::runtime_error(Refusal(*key, result, attribute, group, path));
    }
    key->store(settings, value);
}

}  // namespace

Settings::Settings() {
    for (const ConfigKey& key : ConfigKeys()) {
        ConfigValue value;
        ParseConfigValue(key.kind, key.byDefault, value);
        key.store(*this, value);
    }
}

Settings ReadSettings(const Tml::Document& document, const std::string& path) {
    Settings settings;
    for (const Tml::Node* root : document.RootNodes()) {
        if (root->Name() != "application") continue;
        for (const Tml::Node* group : root->Children()) {
            for (const Tml::Attribute& attribute : group->Attributes()) {
                Apply(settings, group->Name(), attribute, path);
            }
        }
    }
    return settings;
}

Settings ReadSettings(const std::string& path) {
    const std::unique_ptr<Tml::Document> document(Tml::LoadDocument(path));
    return ReadSettings(*document, path);
}

}  // namespace Application
