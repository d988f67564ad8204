#include "application/settings.h"

#include "markup/document.h"
#include "markup/statement.h"
#include "markup/tml_reader.h"

#include <climits>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace Application {

IntParse ParseInt(const std::string& text, int& value) {
    size_t i = 0;
    while (i < text.size() && Tml::IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const size_t digitsStart = i;
    int64_t magnitude = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (!overflow) magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > int64_t(INT_MAX) + 1) overflow = true;
    }
    if (i == digitsStart) return IntParse::Invalid;
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (overflow || signedValue > INT_MAX || signedValue < INT_MIN) return IntParse::OutOfRange;
    value = static_cast<int>(signedValue);
    return IntParse::Ok;
}

namespace {

int ToInt(const Tml::Attribute& attribute, const std::string& group, const std::string& path) {
    int value = 0;
    switch (ParseInt(attribute.value, value)) {
        case IntParse::Ok:
            return value;
        case IntParse::Invalid:
            throw std::runtime_error("Invalid integer '" + attribute.value + "' for " + group + "/" +
                                     attribute.key + " in " + path);
        case IntParse::OutOfRange:
            break;
    }
    throw std::runtime_error("Integer out of range '" + attribute.value + "' for " + group + "/" +
                             attribute.key + " in " + path);
}

void Apply(Settings& settings, const std::string& group, const Tml::Attribute& attribute,
           const std::string& path) {
    const std::string& key = attribute.key;
    if (group == "properties") {
        if (key == "fps")
            settings.fps = static_cast<float>(ToInt(attribute, group, path));
        else if (key == "assetpath")
            settings.assetPath = attribute.value;
        else if (key == "shaderpath")
            settings.shaderPath = attribute.value;
    } else if (group == "window") {
        if (key == "width")
            settings.windowSize.x = ToInt(attribute, group, path);
        else if (key == "height")
            settings.windowSize.y = ToInt(attribute, group, path);
        else if (key == "fullscreen")
            settings.fullscreen = attribute.value == "true";
    } else if (group == "canvas") {
        if (key == "width")
            settings.canvasSize.x = ToInt(attribute, group, path);
        else if (key == "height")
            settings.canvasSize.y = ToInt(attribute, group, path);
        else if (key == "enabled")
            settings.canvasEnabled = attribute.value == "true";
    }
}

}  // namespace

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
