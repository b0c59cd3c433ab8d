#pragma once

// Base of the application. The window loop calls these slots; every default is empty.
class ofBaseApp {
public:
    ofBaseApp() = default;
    virtual ~ofBaseApp() = default;

    virtual void setup() {}
    virtual void update() {}
    virtual void draw() {}
    virtual void exit() {}
    virtual void windowResized(int w, int h) { (void)w; (void)h; }
    virtual void keyPressed(int key) { (void)key; }
    virtual void keyReleased(int key) { (void)key; }
    virtual void mouseMoved(int x, int y) { (void)x; (void)y; }
    virtual void mouseDragged(int x, int y, int button) { (void)x; (void)y; (void)button; }
    virtual void mousePressed(int x, int y, int button) { (void)x; (void)y; (void)button; }
    virtual void mouseReleased(int x, int y, int button) { (void)x; (void)y; (void)button; }
    // Called right after the three-argument form on every button release.
    virtual void mouseReleased() {}
    virtual void audioReceived(float* input, int bufferSize, int nChannels) { (void)input; (void)bufferSize; (void)nChannels; }
    virtual void audioRequested(float* output, int bufferSize, int nChannels) { (void)output; (void)bufferSize; (void)nChannels; }

    int mouseX = 0;   // last pointer position in window pixels
    int mouseY = 0;
};
