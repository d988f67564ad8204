// The process-wide keyboard and mouse-button table with its four-state cycle, plus the mouse
// position and the movement of the current frame. Fed by the application's event hooks, read by the
// virtual gamepad and the shortcuts, advanced once per frame by Update. Main thread only.
#pragma once

#include "engine/core/keys.h"

#include <glm/glm.hpp>

#include <vector>

namespace Application {

class ControlState {
public:
    enum State { Up = 0, Held = 1, Pressed = 2, Released = 3 };
    static constexpr int KeyCount = Engine::Key::Last;  // codes 0..347: the last, the menu key, has none
    static constexpr int ButtonCount = 16;              // mouse buttons 0..15

    ControlState() = delete;

    static void Init();                           // all Up, position (0, 0); tables sized
    static void OnKeyDown(int key);               // Up -> Pressed; other states unchanged
    static void OnKeyUp(int key);                 // Held -> Released; other states unchanged
    static void OnMouseDown(int button);          // as OnKeyDown, on the button table
    static void OnMouseUp(int button);            // as OnKeyUp, on the button table
    static void OnMouseMove(double x, double y);  // adds the movement to this frame's delta
    static void Update();                         // Pressed -> Held, Released -> Up; delta = 0
    static int GetKeyState(int key);              // Up for any code outside the table
    static int GetMouseButtonState(int button);   // Up for any button outside the table
    static glm::vec2 GetMouseDelta();             // movement since the last Update
    static glm::vec2 GetMousePosition();          // last reported cursor position
    static void SetMouseScale(glm::vec2 from, glm::vec2 to);
    static glm::vec2 GetScaledMousePosition();  // position * to / from
    // The whole tables, for recording a frame's input.
    static const std::vector<int>& GetKeyStates() { return keyStates; }
    static const std::vector<int>& GetButtonStates() { return buttonStates; }
    // Exchanges the key and button tables and the frame's movement with the given ones, which must
    // be sized KeyCount and ButtonCount: a replay puts a recorded frame in place for the game to read,
    // then swaps the live input back before Update. Moves no element, allocates nothing.
    static void SwapInput(std::vector<int>& keys, std::vector<int>& buttons, glm::vec2& delta);

private:
    static std::vector<int> keyStates;
    static std::vector<int> buttonStates;
    static glm::vec2 mousePosition;
    static glm::vec2 mouseDelta;
    static glm::vec2 scaleFrom;
    static glm::vec2 scaleTo;
};

}  // namespace Application
