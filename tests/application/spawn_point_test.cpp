#include "application/spawn_point.h"

#include "markup/tml_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Application::SpawnPoint;

TEST(SpawnPointTest, ReadsTheFirstWholeSpawnInModelUnitsAndDegrees) {
    const struct {
        const char* what;
        const char* body;
        glm::vec3 position;
        float yaw;
        bool given;
    } cases[] = {
        {"none", "{ level\n}\n", SpawnPoint::DefaultPosition, 0.0f, false},
        {"the default start, written out", "{ level\n{ spawn\n! x 0.0125\n! y 1.25\n! z -1.875\n}\n}\n",
         SpawnPoint::DefaultPosition, 0.0f, true},
        {"scaled, facing east",
         "{ level\n{ spawn\n! x 1\n! y 0.5\n! z -2\n! yaw 90\n}\n}\n",
         {8, 4, -16},
         1.5707964f,
         true},
        {"no z: skipped", "{ level\n{ spawn\n! x 1\n! y 0.5\n}\n}\n", SpawnPoint::DefaultPosition, 0.0f,
         false},
        {"a yaw that is no number: skipped", "{ level\n{ spawn\n! x 1\n! y 1\n! z 1\n! yaw east\n}\n}\n",
         SpawnPoint::DefaultPosition, 0.0f, false},
        {"the first whole one wins",
         "{ level\n{ spawn\n! x 1\n}\n{ spawn\n! x 2\n! y 0\n! z 0\n}\n{ spawn\n! x 3\n! y 0\n! z 0\n}\n}\n",
         {16, 0, 0},
         0.0f,
         true},
        {"outside the level node", "{ spawn\n! x 1\n! y 1\n! z 1\n}\n", SpawnPoint::DefaultPosition, 0.0f,
         false},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<Tml::Document> data(
            Tml::ParseDocument(std::string("@ tangly-ml-v-020\n") + c.body, "level.tml"));
        const SpawnPoint spawn = SpawnPoint::FromDocument(data.get());
        EXPECT_EQ(spawn.position, c.position) << c.what;
        EXPECT_EQ(spawn.yaw, c.yaw) << c.what;
        EXPECT_EQ(spawn.given, c.given) << c.what;
    }
    EXPECT_EQ(SpawnPoint::FromDocument(nullptr).position, SpawnPoint::DefaultPosition);
}

}  // namespace
