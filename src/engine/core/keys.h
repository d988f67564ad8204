// The key codes the engine reports to OnKeyDown and OnKeyUp: the window library's own numbers, named
// here so that the game needs no window-library header. The window events check that they agree.
// Constants; any thread.
#pragma once

namespace Engine::Key {

inline constexpr int Space = 32;
inline constexpr int A = 65;
inline constexpr int D = 68;
inline constexpr int M = 77;
inline constexpr int Q = 81;
inline constexpr int S = 83;
inline constexpr int W = 87;
inline constexpr int Escape = 256;
inline constexpr int Enter = 257;
inline constexpr int Down = 264;
inline constexpr int Up = 265;
inline constexpr int F1 = 290;
inline constexpr int KeypadEnter = 335;
inline constexpr int LeftControl = 341;
inline constexpr int LeftAlt = 342;
inline constexpr int Last = 348;  // the highest code the window library reports (the menu key)

}  // namespace Engine::Key
