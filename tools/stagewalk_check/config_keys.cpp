#include "stagewalk_check/config_keys.h"

#include "markup/statement.h"

#include <algorithm>
#include <sstream>

namespace StagewalkCheck {

using Application::ConfigKeys;
using Application::ConfigKind;
using Application::ConfigValue;
using Application::ValueParse;

const std::vector<std::string>& ConfigGroups() {
    static const std::vector<std::string> groups = [] {
        std::vector<std::string> names;
        for (const ConfigKey& known : ConfigKeys()) {
            if (std::find(names.begin(), names.end(), known.group) == names.end())
                names.emplace_back(known.group);
        }
        return names;
    }();
    return groups;
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

std::string Shortest(float value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

void CheckInteger(const std::string& subject, const ConfigKey& key, const Tml::Attribute& attribute,
                  const std::string& file, Diagnostics& out) {
    ConfigValue value;
    switch (Application::ParseConfigValue(key.kind, attribute.value, value)) {
        case ValueParse::Invalid:
            out.Error(
                file, attribute.line,
                subject + " is not an integer: " + Quote(attribute.value) + " (the game refuses to start)");
            return;
        case ValueParse::OutOfRange:
            out.Error(file, attribute.line,
                      subject + " lies outside the range of int: " + Quote(attribute.value) +
                          " (the game refuses to start)");
            return;
        case ValueParse::Ok:
            break;
    }
    if (!OnlyTheNumber(attribute.value)) {
        out.Warning(file, attribute.line,
                    subject + " reads as " + std::to_string(value.integer) + "; the rest of " +
                        Quote(attribute.value) + " is ignored");
    }
    if (key.kind == ConfigKind::Size && value.integer <= 0) {
        out.Warning(file, attribute.line,
                    subject + " is " + std::to_string(value.integer) + ": not a usable size");
    }
}

void CheckPositive(const std::string& subject, const ConfigKey& key, const Tml::Attribute& attribute,
                   const std::string& file, Diagnostics& out) {
    ConfigValue value;
    if (Application::ParseConfigValue(key.kind, attribute.value, value) != ValueParse::Ok) {
        out.Error(file, attribute.line,
                  subject + " is not a positive number: " + Quote(attribute.value) +
                      " (the game refuses to start)");
    } else if (value.number < key.plausibleLow || value.number > key.plausibleHigh) {
        out.Warning(file, attribute.line,
                    subject + " is " + attribute.value + ": outside " + Shortest(key.plausibleLow) + " to " +
                        Shortest(key.plausibleHigh) + ", most likely a slip");
    }
}

void CheckFraction(const std::string& subject, const ConfigKey& key, const Tml::Attribute& attribute,
                   const std::string& file, Diagnostics& out) {
    ConfigValue value;
    if (Application::ParseConfigValue(key.kind, attribute.value, value) != ValueParse::Ok) {
        out.Error(file, attribute.line,
                  subject + " is not a number from 0 to 1: " + Quote(attribute.value) +
                      " (the game refuses to start)");
    }
}

}  // namespace

void CheckConfigValue(const ConfigKey& key, const Tml::Attribute& attribute, const std::string& file,
                      Diagnostics& out) {
    const std::string subject = Quote(key.key) + " in group " + Quote(key.group);
    const bool trueOrFalse = attribute.value == "true" || attribute.value == "false";
    switch (key.kind) {
        case ConfigKind::Integer:
        case ConfigKind::Size:
            CheckInteger(subject, key, attribute, file, out);
            break;
        case ConfigKind::ExactTrue:
            if (trueOrFalse) break;
            if (key.used) {
                out.Error(file, attribute.line,
                          subject + " is " + Quote(attribute.value) +
                              ": the game reads anything but 'true' as false");
            } else {
                out.Warning(file, attribute.line,
                            subject + " is " + Quote(attribute.value) +
                                ": anything but 'true' reads as false (the game does not use this setting)");
            }
            break;
        case ConfigKind::Boolean:
            if (!trueOrFalse) {
                out.Error(file, attribute.line,
                          subject + " is " + Quote(attribute.value) +
                              ": neither 'true' nor 'false' (the game refuses to start)");
            }
            break;
        case ConfigKind::Positive:
            CheckPositive(subject, key, attribute, file, out);
            break;
        case ConfigKind::Fraction:
            CheckFraction(subject, key, attribute, file, out);
            break;
        case ConfigKind::Text:
            break;
    }
}

}  // namespace StagewalkCheck
