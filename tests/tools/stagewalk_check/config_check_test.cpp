#include "stagewalk_check/config_check.h"

#include "application/config_keys.h"
#include "application/settings.h"
#include "check_test_util.h"
#include "markup/tml_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

using namespace CheckTests;
using StagewalkCheck::CheckConfig;
using StagewalkCheck::ConfigFindings;

// The two paths every test config sets, so that only the case under test is reported.
const std::string kPaths = "{ properties\n! assetpath a.tml\n! shaderpath s\n}\n";

ConfigFindings Check(const std::string& text, Diagnostics& out) {
    const std::unique_ptr<Tml::Document> document(Tml::ParseDocument(text, "config.tml"));
    return CheckConfig(*document, "config.tml", out);
}

TEST(ConfigCheckTest, EachMistakeIsReportedOnceAtItsLine) {
    struct Case {
        const char* body;  // inside "{ application", which opens on line 2, so the body starts on line 3
        Severity severity;
        int line;
        const char* words;
    };
    const Case cases[] = {
        {"{ window\n! widht 960\n}\n", Severity::Warning, 4,
         "unknown key 'widht' in group 'window' (did you mean 'width'?)"},
        {"{ properties\n! width 9\n}\n", Severity::Warning, 4,
         "unknown key 'width' in group 'properties' (it belongs in group 'window' or 'canvas')"},
        {"{ windows\n}\n", Severity::Warning, 3, "unknown group 'windows' (did you mean 'window'?)"},
        {"! fullscreen true\n", Severity::Warning, 3,
         "key 'fullscreen' directly under 'application' is ignored (it belongs in group 'window')"},
        {"{ window\n{ size\n}\n}\n", Severity::Warning, 4, "node 'size' inside group 'window' is ignored"},
        {"{ window\n! width abc\n}\n", Severity::Error, 4,
         "'width' in group 'window' is not an integer: 'abc'"},
        {"{ canvas\n! height 2147483648\n}\n", Severity::Error, 4, "lies outside the range of int"},
        {"{ properties\n! fps \"\"\n}\n", Severity::Error, 4,
         "'fps' in group 'properties' is not an integer"},
        {"{ window\n! width 800px\n}\n", Severity::Warning, 4,
         "reads as 800; the rest of '800px' is ignored"},
        {"{ properties\n! fps 30.5\n}\n", Severity::Warning, 4, "reads as 30"},
        {"{ canvas\n! width 0\n}\n", Severity::Warning, 4,
         "'width' in group 'canvas' is 0: not a usable size"},
        {"{ window\n! height -5\n}\n", Severity::Warning, 4, "is -5: not a usable size"},
        {"{ window\n! fullscreen True\n}\n", Severity::Error, 4,
         "the game reads anything but 'true' as false"},
        {"{ canvas\n! enabled 1\n}\n", Severity::Warning, 4, "the game does not use this setting"},
        {"{ controls\n! sensitivity 0\n}\n", Severity::Error, 4,
         "'sensitivity' in group 'controls' is not a positive number: '0' (the game refuses to start)"},
        {"{ controls\n! sensitivity 50\n}\n", Severity::Warning, 4, "is 50: outside 0.05 to 20"},
        {"{ controls\n! sensitivity .01\n}\n", Severity::Warning, 4, "is .01: outside 0.05 to 20"},
        {"{ audio\n! volume 1.5\n}\n", Severity::Error, 4,
         "'volume' in group 'audio' is not a number from 0 to 1: '1.5' (the game refuses to start)"},
        {"{ audio\n! muted 1\n}\n", Severity::Error, 4,
         "'muted' in group 'audio' is '1': neither 'true' nor 'false' (the game refuses to start)"},
        {"{ audio\n! volum 0.5\n}\n", Severity::Warning, 4, "(did you mean 'volume'?)"},
        {"{ controls\n! invert yes\n}\n", Severity::Error, 4,
         "'invert' in group 'controls' is 'yes': neither 'true' nor 'false' (the game refuses to start)"},
        {"{ controls\n! sensitivty 2\n}\n", Severity::Warning, 4, "(did you mean 'sensitivity'?)"},
        {"{ window\n! width 9\n}\n{ window\n! width 8\n}\n", Severity::Warning, 7,
         "'width' in group 'window' is set again (first at line 4); the last value wins"},
    };
    for (const Case& c : cases) {
        Diagnostics out;
        Check("@ tangly-ml-v-020\n{ application\n" + std::string(c.body) + kPaths + "}\n", out);
        EXPECT_EQ(out.All().size(), 1u) << c.body << Dump(out);
        EXPECT_TRUE(Has(out, c.severity, c.line, c.words)) << c.body << Dump(out);
    }
}

TEST(ConfigCheckTest, RefusesExactlyWhatTheGameRefuses) {
    for (const Application::ConfigKey& key : Application::ConfigKeys()) {
        for (const char* value :
             {"1", "0", "-5", "2.5", "800px", "abc", "true", "True", "\"\"", "99999999999"}) {
            const std::string text = std::string("@ tangly-ml-v-020\n{ application\n{ ") + key.group +
                                     "\n! " + key.key + " " + value + "\n}\n" + kPaths + "}\n";
            Diagnostics out;
            Check(text, out);
            const std::unique_ptr<Tml::Document> document(Tml::ParseDocument(text, "config.tml"));
            bool refused = false;
            try {
                Application::ReadSettings(*document, "config.tml");
            } catch (const std::runtime_error&) {
                refused = true;
            }
            bool refusalReported = false;
            for (const auto& d : out.All())
                refusalReported |= d.message.find("refuses to start") != std::string::npos;
            EXPECT_EQ(refusalReported, refused) << key.group << "/" << key.key << " " << value << Dump(out);
        }
    }
}

TEST(ConfigCheckTest, UnknownRootNodesAreNamed) {
    Diagnostics out;
    Check("@ tangly-ml-v-020\n{ aplication\n}\n{ window\n}\n{ application\n" + kPaths + "}\n", out);
    EXPECT_EQ(out.All().size(), 2u) << Dump(out);
    EXPECT_TRUE(
        Has(out, Severity::Warning, 2, "unknown root node 'aplication' (did you mean 'application'?)"));
    EXPECT_TRUE(Has(out, Severity::Warning, 4, "(groups belong inside '{ application')"));
}

TEST(ConfigCheckTest, MissingOrEmptyPathsAreErrors) {
    Diagnostics out;
    Check("@ tangly-ml-v-020\n{ application\n{ properties\n! assetpath \"\"\n}\n}\n", out);
    EXPECT_TRUE(
        Has(out, Severity::Error, 4, "'assetpath' in group 'properties' is empty: the game loads no assets"))
        << Dump(out);
    EXPECT_TRUE(Has(out, Severity::Error, 0, "no 'shaderpath' in group 'properties'")) << Dump(out);
}

TEST(ConfigCheckTest, PathsAreTheOnesTheGameEndsUpWith) {
    // The last value wins, across groups and "application" nodes, as in the game's reader.
    const std::string text =
        "@ tangly-ml-v-020\n{ application\n{ properties\n! assetpath one.tml\n! shaderpath s1\n}\n}\n"
        "{ application\n{ properties\n! assetpath two.tml\n}\n}\n";
    Diagnostics out;
    const ConfigFindings found = Check(text, out);
    const std::unique_ptr<Tml::Document> document(Tml::ParseDocument(text, "config.tml"));
    const Application::Settings settings = Application::ReadSettings(*document, "config.tml");
    EXPECT_EQ(found.assetPath.value, settings.assetPath);
    EXPECT_EQ(found.assetPath.line, 10);
    EXPECT_EQ(found.shaderPath.value, settings.shaderPath);
    EXPECT_EQ(found.shaderPath.line, 5);
}

}  // namespace
