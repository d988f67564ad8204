// The input-event interface every application implements, each hook empty by default. Called on the
// main thread from inside the window library's event polling. As the manager's first base it gives
// the application's table of virtual functions its first seven slots, in this order: the delivered
// objects (build/objects/) are linked and checked against that layout, so the order is interface.
#pragma once

namespace Engine {

class EventHandle {
public:
    virtual void OnKeyDown(int key);                    // a key went down (GLFW key code)
    virtual void OnKeyUp(int key);                      // a key went up
    virtual void OnMouseMove(double x, double y);       // cursor position, screen coordinates
    virtual void OnMouseDown(int button);               // a mouse button went down
    virtual void OnMouseUp(int button);                 // a mouse button went up
    virtual void OnMouseWheel(double offset);           // vertical scroll offset of one event
    virtual void OnResizeEvent(int width, int height);  // new window size, screen coordinates

protected:
    ~EventHandle() = default;  // applications are never deleted through this interface
};

}  // namespace Engine
