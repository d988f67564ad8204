#include "application/config_keys.h"

#include "application/settings.h"
#include "common/step_rate.h"
#include "common/strict_number.h"
#include "engine/core/application_manager.h"

#include <cstdint>
#include <string>

namespace Application {

namespace {

// A mouse look this much faster or slower than the shipped one is more likely a typing slip
// (a missing point, a stray zero) than a wish.
constexpr float kLowestPlausibleSensitivity = 0.05f;
constexpr float kHighestPlausibleSensitivity = 20.0f;

using K = ConfigKind;
using Engine::ApplicationManager;

}  // namespace

const std::vector<ConfigKey>& ConfigKeys() {
    static const std::vector<ConfigKey> keys = {
        {"properties", "fps", K::Integer, std::to_string(Common::StepsPerSecond), false, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.fps = static_cast<float>(v.integer); }},
        {"properties", "assetpath", K::Text, "", true, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.assetPath = v.text; }},
        {"properties", "shaderpath", K::Text, "", true, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.shaderPath = v.text; }},
        {"window", "width", K::Size, std::to_string(ApplicationManager::kDefaultWidth), true, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.windowSize.x = v.integer; }},
        {"window", "height", K::Size, std::to_string(ApplicationManager::kDefaultHeight), true, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.windowSize.y = v.integer; }},
        {"window", "fullscreen", K::ExactTrue, "false", true, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.fullscreen = v.flag; }},
        {"window", "vsync", K::Boolean, "false", true, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.vsync = v.flag; }},
        {"canvas", "width", K::Size, std::to_string(ApplicationManager::kDefaultWidth), true, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.canvasSize.x = v.integer; }},
        {"canvas", "height", K::Size, std::to_string(ApplicationManager::kDefaultHeight), true, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.canvasSize.y = v.integer; }},
        {"canvas", "enabled", K::ExactTrue, "false", false, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.canvasEnabled = v.flag; }},
        {"controls", "sensitivity", K::Positive, "1.0", true, kLowestPlausibleSensitivity,
         kHighestPlausibleSensitivity, [](Settings& s, const ConfigValue& v) { s.sensitivity = v.number; }},
        {"controls", "invert", K::Boolean, "false", true, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.invert = v.flag; }},
        {"audio", "volume", K::Fraction, "0.8", true, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.volume = v.number; }},
        {"audio", "muted", K::Boolean, "false", true, 0, 0,
         [](Settings& s, const ConfigValue& v) { s.muted = v.flag; }},
    };
    return keys;
}

const ConfigKey* FindConfigKey(const std::string& group, const std::string& key) {
    for (const ConfigKey& known : ConfigKeys()) {
        if (group == known.group && key == known.key) return &known;
    }
    return nullptr;
}

ValueParse ParseInt(const std::string& text, int& value) {
    int32_t read = 0;
    const ValueParse result = Common::ReadLeadingInt(text.data(), text.data() + text.size(), read);
    if (result == ValueParse::Ok) value = read;
    return result;
}

namespace {

// Digits with at most one point and at least one digit ("2", "0.5", ".5", "2."), read without
// the locale; what a float cannot hold is no number.
ValueParse ParseDecimal(const std::string& text, float& value) {
    size_t digits = 0;
    size_t points = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return ValueParse::Invalid;
        }
    }
    if (digits == 0 || points > 1) return ValueParse::Invalid;
    float read = 0.0f;
    if (!Common::StrictNumber::ParseFinite(text, read)) return ValueParse::Invalid;
    value = read;
    return ValueParse::Ok;
}

// Zero is no positive number.
ValueParse ParsePositive(const std::string& text, float& value) {
    float read = 0.0f;
    if (ParseDecimal(text, read) != ValueParse::Ok || !(read > 0.0f)) return ValueParse::Invalid;
    value = read;
    return ValueParse::Ok;
}

ValueParse ParseFraction(const std::string& text, float& value) {
    float read = 0.0f;
    if (ParseDecimal(text, read) != ValueParse::Ok || read > 1.0f) return ValueParse::Invalid;
    value = read;
    return ValueParse::Ok;
}

}  // namespace

ValueParse ParseConfigValue(ConfigKind kind, const std::string& text, ConfigValue& value) {
    switch (kind) {
        case ConfigKind::Integer:
        case ConfigKind::Size:
            return ParseInt(text, value.integer);
        case ConfigKind::ExactTrue:
            value.flag = text == "true";
            return ValueParse::Ok;
        case ConfigKind::Boolean:
            if (text != "true" && text != "false") return ValueParse::Invalid;
            value.flag = text == "true";
            return ValueParse::Ok;
        case ConfigKind::Positive:
            return ParsePositive(text, value.number);
        case ConfigKind::Fraction:
            return ParseFraction(text, value.number);
        case ConfigKind::Text:
            value.text = text;
            return ValueParse::Ok;
    }
    return ValueParse::Invalid;
}

}  // namespace Application
