#include "media/ofWindowFocus.h"

#include "media/ofUtils.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <vector>

namespace {

constexpr int MAX_DEPTH = 64;   // window nesting followed before giving up

int lastPollMs = 0;             // elapsed ms of the last question to the server
Window lastWindow = 0;          // the window it was about
bool lastAnswer = false;

bool xErrorSeen = false;
int noteXError(Display*, XErrorEvent*)
{
    xErrorSeen = true;
    return 0;
}

// `window` and its ancestors below the root, nearest first; empty on an X error.
std::vector<Window> selfAndAncestors(Display* display, Window window, Window& root)
{
    std::vector<Window> chain;
    root = 0;
    for (int depth = 0; depth < MAX_DEPTH && window != 0; ++depth) {
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
            return {};
        }
        if (children != nullptr) {
            XFree(children);
        }
        chain.push_back(window);
        if (parent == root) {
            break;
        }
        window = parent;
    }
    return chain;
}

bool contains(const std::vector<Window>& chain, Window window)
{
    for (Window w : chain) {
        if (w == window) {
            return true;
        }
    }
    return false;
}

bool askServer(Display* display, Window window)
{
    Window root = 0;
    const std::vector<Window> ours = selfAndAncestors(display, window, root);
    if (ours.empty()) {
        return false;
    }
    Window focus = 0;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    if (focus == None) {
        return false;   // keys go nowhere
    }
    if (focus == PointerRoot || focus == root) {
        // Keys go to the top-level window under the pointer.
        Window rootUnder = 0;
        Window child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned int buttons = 0;
        if (!XQueryPointer(display, root, &rootUnder, &child, &rootX, &rootY, &x, &y, &buttons)) {
            return false;   // the pointer is on another screen
        }
        return child != 0 && contains(ours, child);
    }
    // On our window or a frame around it, or on a window inside ours.
    return contains(ours, focus) || contains(selfAndAncestors(display, focus, root), window);
}

} // namespace

bool ofCurrentWindowHasFocus()
{
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    if (display == nullptr || window == 0) {
        return false;
    }
    const int now = ofGetElapsedTimeMillis();
    // A clock reset (now < last) asks again too.
    if (window == lastWindow && now >= lastPollMs && now - lastPollMs < FOCUS_POLL_MS) {
        return lastAnswer;
    }
    // The focus window may be destroyed while we look at it; that is an answer, not a crash,
    // so X errors are caught for the duration instead of ending the process.
    XSync(display, False);
    xErrorSeen = false;
    int (*previous)(Display*, XErrorEvent*) = XSetErrorHandler(noteXError);
    bool answer = askServer(display, window);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (xErrorSeen) {
        answer = false;
    }
    lastPollMs = now;
    lastWindow = window;
    lastAnswer = answer;
    return answer;
}
