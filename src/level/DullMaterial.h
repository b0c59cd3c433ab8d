#pragma once

// Front material without highlights or glow (specular and emission black, shininess 1),
// with colour material on so the current colour drives ambient and diffuse reflectance.
// Used for the cubes and the ball.
void setDullMaterial();
