// The floor for start-up: the least a GLUT program does before its first frame is on
// screen. It opens a window the way the game does (800x600, the game's display mode, then
// full screen), clears one frame to the game's background colour, names the window in the
// form the game uses ("... FPS: ..."), and swaps. It links only GLUT and GL.
#include <GL/freeglut.h>

namespace {

void display()
{
    glClearColor(0.0f, 0.0f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSetWindowTitle("floor FPS: 0");
    glutSwapBuffers();
}

} // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH);
    glutInitWindowSize(800, 600);
    glutCreateWindow("");
    glutFullScreen();
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
