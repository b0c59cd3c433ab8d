// Opens the window exactly as the game does and writes every slot and event that reaches
// the application to standard output, one line each, for the end-to-end tests.
#include "media/ofAppGlutWindow.h"
#include "media/ofAppRunner.h"
#include "media/ofBaseApp.h"
#include "media/ofEvents.h"

#include <Poco/Delegate.h>
#include <cstdio>

namespace {

void line(const char* format, int value = 0)
{
    std::printf(format, value);
    std::printf("\n");
    std::fflush(stdout);
}

class KeyLogApp : public ofBaseApp {
public:
    ~KeyLogApp() override { line("destroyed"); }

    void setup() override { line("setup"); }
    void draw() override
    {
        if (ofGetFrameNum() == 2) {
            line("drawing");
        }
    }
    void exit() override { line("exit"); }
    void keyPressed(int key) override { line("pressed %d", key); }
    void keyReleased(int key) override { line("released %d", key); }
};

struct Listener {
    void onKeyPressed(ofKeyEventArgs& a) { line("event pressed %d", a.key); }
    void onKeyReleased(ofKeyEventArgs& a) { line("event released %d", a.key); }
    void onExit(ofEventArgs&) { line("event exit"); }
};

Listener listener;   // lives until the process ends, past the exit path

} // namespace

int main()
{
    ofEvents.keyPressed += Poco::delegate(&listener, &Listener::onKeyPressed);
    ofEvents.keyReleased += Poco::delegate(&listener, &Listener::onKeyReleased);
    ofEvents.exit += Poco::delegate(&listener, &Listener::onExit);

    ofAppGlutWindow window;
    ofSetupOpenGL(&window, 800, 600, 1);
    ofRunApp(new KeyLogApp);
    return 0;
}
