// The menu Esc opens over the paused game: Resume, Restart, Levels (each level with its best time)
// and Quit, worked with the keyboard (up and down or W and S, Enter, Esc to go back or resume), and
// the line it shows while a chosen level loads. Drawn over the frozen picture on the canvas in the
// HUD's font. Knows nothing of levels beyond the rows it is given. Owned by the shell; main thread only.
#pragma once

#include "application/canvas_overlay.h"

#include <cstddef>
#include <string>
#include <vector>

namespace Engine {
class Graphics;
struct Texture;
}  // namespace Engine

namespace Application {

class PauseMenu {
public:
    enum class Key { Up, Down, Enter, Back };
    enum class Action { None, Resume, Restart, Play, Quit };
    // One level as the Levels page lists it.
    struct Row {
        std::string title;
        std::string best;  // "10.78", "--.--" without one, "..." while not yet known, "?" unreadable
        bool current = false;
    };

    // Opens on its first page with Resume chosen. Without `levels` it offers Resume and Quit only
    // (a demo is one run of one level).
    void Open(bool levels);
    void Close();
    bool IsOpen() const { return open; }
    // The rows of the Levels page, in level order; what is chosen stays where it was.
    void SetLevels(std::vector<Row> levelRows);
    // Opens on the Levels page with `level` chosen.
    void OpenLevels(size_t level);
    // Shows that the level titled `title` loads; keys do nothing until ShowLevels or Close.
    void ShowLoading(const std::string& title);
    // Back to the Levels page, with `problem` shown under its title until the next key.
    void ShowLevels(const std::string& problem);

    // One key press. Play asks for the level Chosen() names; Resume, Restart and Quit close the menu
    // for the shell to act.
    Action Press(Key key);
    size_t Chosen() const { return chosenLevel; }

    // Darkens the picture and draws the page in canvas pixels.
    void Draw(Engine::Graphics* graphics, Engine::Texture* font);

private:
    enum class Page { Main, Levels, Loading };
    enum class Item { Resume, Restart, Levels, Quit };
    std::vector<Item> Items() const;
    void Layout(int width, int height);

    bool open = false;
    bool levelsOffered = true;
    Page page = Page::Main;
    size_t chosenItem = 0;
    size_t chosenLevel = 0;
    std::vector<Row> rows;
    std::string loading;  // the title of the level that loads
    std::string problem;
    // What Draw lays over the picture, rebuilt when the page, the choice or the canvas changes.
    CanvasOverlay overlay;
    bool stale = true;
};

}  // namespace Application
