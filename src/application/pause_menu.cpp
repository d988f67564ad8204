#include "application/pause_menu.h"

#include "engine/graphics/graphics.h"

#include <algorithm>
#include <utility>

namespace Application {

namespace {

constexpr float DimAlpha = 0.6f;  // how dark the paused picture turns
constexpr float Margin = 12.0f;   // pixels between the rows and the canvas's sides
const char* const MainTitle = "Paused";
const char* const LevelsTitle = "Levels";
const char* const LevelsHint = "Enter: play    Esc: back";

const char* ItemText(int item) {
    static const char* const texts[] = {"Resume", "Restart", "Levels", "Quit"};
    return texts[item];
}

}  // namespace

std::vector<PauseMenu::Item> PauseMenu::Items() const {
    if (!levelsOffered) return {Item::Resume, Item::Quit};
    return {Item::Resume, Item::Restart, Item::Levels, Item::Quit};
}

void PauseMenu::Open(bool levels) {
    open = true;
    levelsOffered = levels;
    page = Page::Main;
    chosenItem = 0;
    problem.clear();
    stale = true;
}

void PauseMenu::Close() { open = false; }

void PauseMenu::SetLevels(std::vector<Row> levelRows) {
    rows = std::move(levelRows);
    if (chosenLevel >= rows.size()) chosenLevel = 0;
    stale = true;
}

void PauseMenu::OpenLevels(size_t level) {
    Open(true);
    page = Page::Levels;
    chosenLevel = level < rows.size() ? level : 0;
}

void PauseMenu::ShowLoading(const std::string& title) {
    page = Page::Loading;
    loading = title;
    stale = true;
}

void PauseMenu::ShowLevels(const std::string& text) {
    page = Page::Levels;
    problem = text;
    stale = true;
}

PauseMenu::Action PauseMenu::Press(Key key) {
    if (!open || page == Page::Loading) return Action::None;
    stale = true;
    problem.clear();
    const bool levels = page == Page::Levels;
    const size_t count = levels ? rows.size() : Items().size();
    size_t& chosen = levels ? chosenLevel : chosenItem;
    if (key == Key::Up && count > 0) chosen = (chosen + count - 1) % count;
    if (key == Key::Down && count > 0) chosen = (chosen + 1) % count;
    if (key == Key::Back) {
        if (levels) {
            page = Page::Main;
            return Action::None;
        }
        open = false;
        return Action::Resume;
    }
    if (key != Key::Enter) return Action::None;
    if (levels) return rows.empty() ? Action::None : Action::Play;
    switch (Items()[chosenItem]) {
        case Item::Resume:
            open = false;
            return Action::Resume;
        case Item::Restart:
            open = false;
            return Action::Restart;
        case Item::Levels:
            page = Page::Levels;
            for (size_t i = 0; i < rows.size(); ++i) {
                if (rows[i].current) chosenLevel = i;
            }
            return Action::None;
        case Item::Quit:
            open = false;
            return Action::Quit;
    }
    return Action::None;
}

void PauseMenu::Layout(int width, int height) {
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float line = overlay.LineHeight();
    overlay.Clear();
    overlay.Box(0.0f, 0.0f, w, h, DimAlpha);
    const float middle = w * 0.5f;
    if (page == Page::Loading) {
        overlay.Centred(overlay.Fit("Loading " + loading + " ...", w - 2.0f * Margin), middle,
                        h * 0.5f - line, CanvasOverlay::White);
        return;
    }
    if (page == Page::Main) {
        const std::vector<Item> items = Items();
        float y = h * 0.5f - line * (static_cast<float>(items.size()) * 0.5f + 2.0f);
        overlay.Centred(MainTitle, middle, y, CanvasOverlay::White);
        y += line * 2.0f;
        for (size_t i = 0; i < items.size(); ++i, y += line) {
            const bool chosen = i == chosenItem;
            const std::string text = std::string(chosen ? "> " : "  ") + ItemText(static_cast<int>(items[i]));
            overlay.Centred(text, middle, y, chosen ? CanvasOverlay::Gold : CanvasOverlay::Grey);
        }
        return;
    }
    // The Levels page: the title, a problem if any, as many rows as fit around the chosen one, the hint.
    float y = Margin;
    overlay.Centred(LevelsTitle, middle, y, CanvasOverlay::White);
    y += line * 1.5f;
    if (!problem.empty()) {
        overlay.Centred(overlay.Fit(problem, w - 2.0f * Margin), middle, y, CanvasOverlay::Red);
        y += line * 1.5f;
    }
    const float bottom = h - Margin - line * 1.5f;
    const size_t fit = std::max<size_t>(1, static_cast<size_t>((bottom - y) / line));
    size_t first = 0;
    if (chosenLevel >= fit) first = chosenLevel + 1 - fit;
    const float bestWidth = overlay.TextWidth("  00000.00");
    for (size_t i = first; i < rows.size() && i < first + fit; ++i, y += line) {
        const bool chosen = i == chosenLevel;
        const CanvasOverlay::Colour colour = chosen ? CanvasOverlay::Gold : CanvasOverlay::Grey;
        const std::string mark = chosen ? "> " : (rows[i].current ? "* " : "  ");
        overlay.Line(overlay.Fit(mark + rows[i].title, w - 2.0f * Margin - bestWidth), Margin, y, colour);
        overlay.RightAligned(rows[i].best, w - Margin, y, colour);
    }
    overlay.Centred(LevelsHint, middle, h - Margin - line, CanvasOverlay::Grey);
}

void PauseMenu::Draw(Engine::Graphics* graphics, Engine::Texture* font) {
    if (!open || graphics == nullptr) return;
    // The overlay is asked first: it keeps the canvas and font it was laid out for.
    if (overlay.Outdated(*graphics, font) || stale) {
        Layout(graphics->canvasWidth, graphics->canvasHeight);
        stale = false;
    }
    overlay.Draw(graphics);
}

}  // namespace Application
