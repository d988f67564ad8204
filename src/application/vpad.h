// The virtual gamepad: turns the keyboard and mouse state of ControlState into a walk stick, a look
// stick and numbered buttons, so the controls are defined in one place. Static state only, owned
// by nobody; refreshed once per frame by the application shell. Main thread only.
#pragma once

#include <glm/glm.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Application {

class Vpad {
public:
    // One bound button: the key it follows, the caller's id (stored, never read) and the key's
    // state as of the latest Update (1 between PushButton and the next Update).
    struct Button {
        int32_t key = 0;
        int32_t id = 0;
        int32_t state = 0;
    };

    Vpad() = delete;

    static void Init();                // both sticks (0, 0); the button list is kept
    static void Update();              // sticks and buttons from ControlState
    static glm::vec2 GetLeftStick();   // walk: x +1 left (A), y +1 forward (W)
    static glm::vec2 GetRightStick();  // look: the frame's look movement / 96 * sensitivity
    // How the look stick follows the mouse: `sensitivity` multiplies it, `invert` turns its
    // vertical round. Kept by Init; at 1 and false the stick is the movement / 96 exactly.
    static void SetLook(float sensitivity, bool invert);
    // The look drops the next cursor report: the first after the cursor is captured (at start-up,
    // captured again, the window focused again) reports the cursor's jump from wherever the input
    // state last saw it, which is no movement of the player's. ControlState keeps its own rule.
    static void SkipNextCursorReport();
    // Each cursor report's movement, handed on by the shell as it arrives; the one to skip is kept.
    static void OnCursorReport(glm::vec2 movement);
    // The frame's mouse movement as the look takes it: ControlState's, less a skipped report. What a
    // recording keeps of the mouse.
    static glm::vec2 GetLookMovement();
    // The frame's input is over (ControlState::Update): a skipped report of it goes with it.
    static void EndFrame();
    static int GetButton(unsigned int index);  // state of button `index`; Up (0) past the end
    static void PushButton(int key, int id);   // binds `key` as the next button, state 1
    static size_t GetButtonCount();            // number of bound buttons
    static void ClearButtons();                // test-only: unbind every button (the game never does)

private:
    static glm::vec2 leftStick;
    static glm::vec2 rightStick;
    static float lookSensitivity;
    static bool lookInverted;
    static bool skipReport;
    static glm::vec2 skipped;
    static std::vector<Button> buttons;
};

}  // namespace Application
