#version 450
#extension GL_GOOGLE_include_directive : require
// Horizontal pass of the Gaussian blur.
#define BLUR_DIRECTION vec2(1.0, 0.0)
#include "common/GaussianBlur.glsl"
