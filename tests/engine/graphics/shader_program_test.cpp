// Reading shader files as they are handed to the driver: each line preceded by a newline, none at
// the end. No context needed.
#include "engine/graphics/shader_program.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ShaderSourceTest, EveryLineIsPrecededByANewline) {
    struct Case {
        std::string file, source;
    };
    const Case cases[] = {
        {"line1\nline2", "\nline1\nline2"},
        {"line1\nline2\n", "\nline1\nline2"},
        {"", ""},
        {"\n", "\n"},
        {"a\n\nb", "\na\n\nb"},
        {"#version 120\nvoid main() {}\n", "\n#version 120\nvoid main() {}"},
    };
    TestSupport::ScratchDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.Write("shader.glsl", c.file);
        std::string source = "left over";
        ASSERT_TRUE(Engine::ShaderProgram::ReadSource(path, &source));
        EXPECT_EQ(source, c.source) << "file " << testing::PrintToString(c.file);
    }
}

TEST(ShaderSourceTest, MissingFileIsReported) {
    TestSupport::ScratchDir dir;
    std::string source;
    EXPECT_FALSE(Engine::ShaderProgram::ReadSource(dir.File("missing.glsl"), &source));
    EXPECT_FALSE(Engine::ShaderProgram::ReadSource(dir.Path(), &source)) << "a directory is no file";
}

}  // namespace
