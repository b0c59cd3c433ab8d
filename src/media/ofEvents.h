#pragma once
// The window's core events. Listeners are called first-in, first-out.

#include <Poco/FIFOEvent.h>

class ofEventArgs {
public:
    virtual ~ofEventArgs() = default;
};

class ofResizeEventArgs : public ofEventArgs {
public:
    int width = 0;
    int height = 0;
};

class ofKeyEventArgs : public ofEventArgs {
public:
    int key = 0;
};

class ofMouseEventArgs : public ofEventArgs {
public:
    int x = 0;
    int y = 0;
    int button = 0;
};

template <class TArgs>
class ofEvent : public Poco::FIFOEvent<TArgs> {
};

class ofCoreEvents {
public:
    ofEvent<ofEventArgs> setup;
    ofEvent<ofEventArgs> update;
    ofEvent<ofEventArgs> draw;
    ofEvent<ofEventArgs> exit;
    ofEvent<ofResizeEventArgs> windowResized;
    ofEvent<ofKeyEventArgs> keyPressed;
    ofEvent<ofKeyEventArgs> keyReleased;
    ofEvent<ofMouseEventArgs> mouseMoved;
    ofEvent<ofMouseEventArgs> mouseDragged;
    ofEvent<ofMouseEventArgs> mousePressed;
    ofEvent<ofMouseEventArgs> mouseReleased;
};

// The process's one event record, notified by the window right after each app slot.
extern ofCoreEvents ofEvents;

template <class TArgs>
void ofNotifyEvent(ofEvent<TArgs>& event, TArgs& args)
{
    event.notify(nullptr, args);
}
