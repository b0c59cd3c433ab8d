#include "app/Application.h"
#include "app/LaunchOptions.h"
#include "media/ofAppGlutWindow.h"
#include "media/ofAppRunner.h"

int main(int argc, char** argv)
{
    LaunchOptions options;
    const int status = readLaunchOptions(argc, argv, options);
    if (status >= 0) {
        return status;
    }
    ofAppGlutWindow window;
    ofSetupOpenGL(&window, 800, 600, 1);   // opened at 800x600, full screen from the first frame
    ofRunApp(new Application(options));
    return 0;
}
