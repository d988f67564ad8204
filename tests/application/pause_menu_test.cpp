#include "application/pause_menu.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Application::PauseMenu;
using Key = PauseMenu::Key;
using Action = PauseMenu::Action;

TEST(PauseMenuTest, TheKeysWorkItAsAPlayerExpects) {
    const struct {
        const char* what;
        bool levels;  // Restart and Levels offered
        std::vector<Key> keys;
        Action last;    // what the last key asks for
        size_t chosen;  // the level chosen, for Play
        bool open;      // after the keys
    } cases[] = {
        {"Enter resumes", true, {Key::Enter}, Action::Resume, 0, false},
        {"Esc resumes", true, {Key::Back}, Action::Resume, 0, false},
        {"the second item restarts", true, {Key::Down, Key::Enter}, Action::Restart, 0, false},
        {"up from the top wraps to Quit", true, {Key::Up, Key::Enter}, Action::Quit, 0, false},
        {"Levels opens on the level playing",
         true,
         {Key::Down, Key::Down, Key::Enter},
         Action::None,
         0,
         true},
        {"the level below it plays",
         true,
         {Key::Down, Key::Down, Key::Enter, Key::Down, Key::Enter},
         Action::Play,
         2,
         true},
        {"down past the last level wraps",
         true,
         {Key::Down, Key::Down, Key::Enter, Key::Down, Key::Down, Key::Enter},
         Action::Play,
         0,
         true},
        {"Esc on Levels goes back, and again resumes",
         true,
         {Key::Down, Key::Down, Key::Enter, Key::Back, Key::Back},
         Action::Resume,
         0,
         false},
        {"a demo's menu: Resume and Quit", false, {Key::Down, Key::Enter}, Action::Quit, 0, false},
    };
    for (const auto& c : cases) {
        PauseMenu menu;
        menu.SetLevels({{"The tower", "10.78", false}, {"The yard", "--.--", true}, {"Three", "...", false}});
        menu.Open(c.levels);
        Action action = Action::None;
        for (const Key key : c.keys) action = menu.Press(key);
        EXPECT_EQ(action, c.last) << c.what;
        EXPECT_EQ(menu.IsOpen(), c.open) << c.what;
        if (action == Action::Play) {
            EXPECT_EQ(menu.Chosen(), c.chosen) << c.what;
        }
    }
}

TEST(PauseMenuTest, WhileALevelLoadsKeysDoNothing) {
    PauseMenu menu;
    menu.SetLevels({{"The tower", "--.--", true}, {"The yard", "--.--", false}});
    menu.OpenLevels(1);
    menu.ShowLoading("The yard");
    for (const Key key : {Key::Back, Key::Enter, Key::Down}) EXPECT_EQ(menu.Press(key), Action::None);
    EXPECT_TRUE(menu.IsOpen());
    menu.ShowLevels("The yard did not load");
    EXPECT_EQ(menu.Press(Key::Enter), Action::Play);
    EXPECT_EQ(menu.Chosen(), 1u);
}

}  // namespace
