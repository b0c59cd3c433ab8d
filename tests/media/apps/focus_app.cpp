// Opens a window as the game does (640x480, or `focus_app fullscreen`: 800x600 and full
// screen from the first frame, as the game starts) and writes one line each time the window gains or
// loses the keyboard focus ("focus 1", "focus 0") and each time a frame is drawn at a new
// size ("size 640x480"); F11 switches between the window and the whole screen.
#include "media/ofAppGlutWindow.h"
#include "media/ofAppRunner.h"
#include "media/ofBaseApp.h"

#include <cstdio>
#include <string>

namespace {

constexpr int KEY_F11 = 11 | 256;   // GLUT's special key code, as the window hands it on

class FocusApp : public ofBaseApp {
public:
    void update() override
    {
        const int now = ofWindowHasFocus() ? 1 : 0;
        if (now != focus) {
            focus = now;
            std::printf("focus %d\n", focus);
            std::fflush(stdout);
        }
    }
    void draw() override
    {
        if (ofGetWidth() != width || ofGetHeight() != height) {
            width = ofGetWidth();
            height = ofGetHeight();
            std::printf("size %dx%d\n", width, height);
            std::fflush(stdout);
        }
    }
    void keyPressed(int key) override
    {
        if (key == KEY_F11) {
            ofToggleFullscreen();
        }
    }

private:
    int focus = -1;   // not yet known
    int width = 0;
    int height = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const bool fullScreen = argc > 1 && std::string(argv[1]) == "fullscreen";
    ofAppGlutWindow window;
    if (fullScreen) {
        ofSetupOpenGL(&window, 800, 600, 1);
    } else {
        ofSetupOpenGL(&window, 640, 480, 0);
    }
    ofSetFrameRate(60);
    ofRunApp(new FocusApp);
    return 0;
}
