#include "app/Application.h"

void Application::setup() {}
void Application::update() {}
void Application::draw() {}
void Application::windowResized(int, int) {}
void Application::keyPressed(int) {}
void Application::keyReleased(int) {}
void Application::mouseMoved(int, int) {}
void Application::mouseDragged(int, int, int) {}
void Application::mousePressed(int, int, int) {}
void Application::mouseReleased(int, int, int) {}
