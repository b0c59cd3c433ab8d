#include "app/Application.h"
#include "media/ofAppGlutWindow.h"
#include "media/ofAppRunner.h"

int main()
{
    ofAppGlutWindow window;
    ofSetupOpenGL(&window, 800, 600, 1);   // opened at 800x600, full screen from the first frame
    ofRunApp(new Application);
    return 0;
}
