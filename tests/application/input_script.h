// Test helper: puts chosen keys of ControlState into chosen states through the real event cycle,
// so the gamepad and the player see input exactly as the shell would deliver it.
#pragma once

#include "application/control_state.h"

#include <vector>

namespace TestSupport {

struct KeyInState {
    int key;
    int state;  // ControlState::Up, Held, Pressed or Released
};

// Starts from a fresh table (mouse at rest) and leaves each listed key in its state.
inline void SetKeys(const std::vector<KeyInState>& keys) {
    using Application::ControlState;
    ControlState::Init();
    for (const KeyInState& k : keys) {
        if (k.state == ControlState::Held || k.state == ControlState::Released)
            ControlState::OnKeyDown(k.key);
    }
    ControlState::Update();
    for (const KeyInState& k : keys) {
        if (k.state == ControlState::Released) ControlState::OnKeyUp(k.key);
        if (k.state == ControlState::Pressed) ControlState::OnKeyDown(k.key);
    }
}

constexpr int KeyW = 87, KeyS = 83, KeyA = 65, KeyD = 68, KeySpace = 32;

}  // namespace TestSupport
