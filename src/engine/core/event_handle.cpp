#include "engine/core/event_handle.h"

namespace Engine {

void EventHandle::OnKeyDown(int) {}
void EventHandle::OnKeyUp(int) {}
void EventHandle::OnMouseMove(double, double) {}
void EventHandle::OnMouseDown(int) {}
void EventHandle::OnMouseUp(int) {}
void EventHandle::OnMouseWheel(double) {}
void EventHandle::OnResizeEvent(int, int) {}

}  // namespace Engine
