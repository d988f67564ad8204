// Test tool for the end-to-end scripts: looks at and pokes the X server the way a window manager
// or a user would, where xdotool cannot.
//   xprobe close WINDOW   ask the window to close (WM_DELETE_WINDOW), like a title-bar close button
//   xprobe grab           print "grabbed" when another client holds the pointer grab, else "free"
//   xprobe cursor         print "hidden" when the cursor shown at the pointer is fully transparent,
//                         else "visible"
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int SendClose(Display* display, Window window) {
    Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return 0;
}

int ReportGrab(Display* display) {
    const int result = XGrabPointer(display, DefaultRootWindow(display), False, ButtonPressMask,
                                    GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    if (result == GrabSuccess) XUngrabPointer(display, CurrentTime);
    XSync(display, False);
    std::puts(result == AlreadyGrabbed ? "grabbed" : "free");
    return 0;
}

int ReportCursor(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    if (!XFixesQueryExtension(display, &eventBase, &errorBase)) {
        std::fputs("xprobe: no XFIXES extension\n", stderr);
        return 2;
    }
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (!image) return 2;
    bool visible = false;
    for (int i = 0; i < image->width * image->height; ++i) {
        if ((image->pixels[i] >> 24) & 0xff) visible = true;
    }
    XFree(image);
    std::puts(visible ? "visible" : "hidden");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: xprobe close WINDOW | grab | cursor\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("xprobe: cannot open the display\n", stderr);
        return 2;
    }
    int status = 2;
    if (std::strcmp(argv[1], "close") == 0 && argc == 3) {
        status = SendClose(display, static_cast<Window>(std::strtoul(argv[2], nullptr, 0)));
    } else if (std::strcmp(argv[1], "grab") == 0) {
        status = ReportGrab(display);
    } else if (std::strcmp(argv[1], "cursor") == 0) {
        status = ReportCursor(display);
    } else {
        std::fputs("usage: xprobe close WINDOW | grab | cursor\n", stderr);
    }
    XCloseDisplay(display);
    return status;
}
