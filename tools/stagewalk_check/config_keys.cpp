#include "stagewalk_check/config_keys.h"

#include "application/settings.h"
#include "markup/statement.h"

namespace StagewalkCheck {

const std::vector<ConfigKey>& ConfigKeys() {
    static const std::vector<ConfigKey> keys = {
        {"properties", "fps", ValueKind::Integer},
        {"properties", "assetpath", ValueKind::Text},
        {"properties", "shaderpath", ValueKind::Text},
        {"window", "width", ValueKind::Size},
        {"window", "height", ValueKind::Size},
        {"window", "fullscreen", ValueKind::Boolean},
        {"canvas", "width", ValueKind::Size},
        {"canvas", "height", ValueKind::Size},
        {"canvas", "enabled", ValueKind::UnusedBoolean},
    };
    return keys;
}

const std::vector<std::string>& ConfigGroups() {
    static const std::vector<std::string> groups = {"properties", "window", "canvas"};
    return groups;
}

const ConfigKey* FindConfigKey(const std::string& group, const std::string& key) {
    for (const ConfigKey& known : ConfigKeys()) {
        if (group == known.group && key == known.key) return &known;
    }
    return nullptr;
}

std::vector<std::string> KeysOfGroup(const std::string& group) {
    std::vector<std::string> keys;
    for (const ConfigKey& known : ConfigKeys()) {
        if (group == known.group) keys.emplace_back(known.key);
    }
    return keys;
}

std::vector<std::string> GroupsWithKey(const std::string& key) {
    std::vector<std::string> groups;
    for (const ConfigKey& known : ConfigKeys()) {
        if (key == known.key) groups.emplace_back(known.group);
    }
    return groups;
}

namespace {

// True when nothing but white space follows the number the game's conversion reads.
bool OnlyTheNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && Tml::IsSpace(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    while (i < text.size() && Tml::IsSpace(text[i])) ++i;
    return i == text.size();
}

void CheckInteger(const std::string& subject, const ConfigKey& key, const Tml::Attribute& attribute,
                  const std::string& file, Diagnostics& out) {
    int value = 0;
    switch (Application::ParseInt(attribute.value, value)) {
        case Application::IntParse::Invalid:
            out.Error(
                file, attribute.line,
                subject + " is not an integer: " + Quote(attribute.value) + " (the game refuses to start)");
            return;
        case Application::IntParse::OutOfRange:
            out.Error(file, attribute.line,
                      subject + " lies outside the range of int: " + Quote(attribute.value) +
                          " (the game refuses to start)");
            return;
        case Application::IntParse::Ok:
            break;
    }
    if (!OnlyTheNumber(attribute.value)) {
        out.Warning(file, attribute.line,
                    subject + " reads as " + std::to_string(value) + "; the rest of " +
                        Quote(attribute.value) + " is ignored");
    }
    if (key.kind == ValueKind::Size && value <= 0) {
        out.Warning(file, attribute.line, subject + " is " + std::to_string(value) + ": not a usable size");
    }
}

}  // namespace

void CheckConfigValue(const ConfigKey& key, const Tml::Attribute& attribute, const std::string& file,
                      Diagnostics& out) {
    const std::string subject = Quote(key.key) + " in group " + Quote(key.group);
    switch (key.kind) {
        case ValueKind::Integer:
        case ValueKind::Size:
            CheckInteger(subject, key, attribute, file, out);
            break;
        case ValueKind::Boolean:
            if (attribute.value != "true" && attribute.value != "false") {
                out.Error(file, attribute.line,
                          subject + " is " + Quote(attribute.value) +
                              ": the game reads anything but 'true' as false");
            }
            break;
        case ValueKind::UnusedBoolean:
            if (attribute.value != "true" && attribute.value != "false") {
                out.Warning(file, attribute.line,
                            subject + " is " + Quote(attribute.value) +
                                ": anything but 'true' reads as false (the game does not use this setting)");
            }
            break;
        case ValueKind::Text:
            break;
    }
}

}  // namespace StagewalkCheck
