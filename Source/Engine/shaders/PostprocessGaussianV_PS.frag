#version 450
#extension GL_GOOGLE_include_directive : require
// Vertical pass of the Gaussian blur.
#define BLUR_DIRECTION vec2(0.0, 1.0)
#include "common/GaussianBlur.glsl"
