// Effect without a context: a program named 0 leaves every location 0 and makes no OpenGL call.
#include "engine/graphics/effect.h"
#include "engine/graphics/shader_program.h"

#include <gtest/gtest.h>

namespace {

TEST(EffectTest, InitWithoutAProgramLeavesLocationsZero) {
    Engine::ShaderProgram none(0);
    Engine::Effect effect;
    effect.Init(&none);
    EXPECT_EQ(effect.GetPaletteLimiterLocation(), 0);  // 0, not the -1 of a missing uniform
}

}  // namespace
