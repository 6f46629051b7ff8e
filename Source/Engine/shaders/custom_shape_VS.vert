#version 450
#extension GL_GOOGLE_include_directive : require
// A coloured, textured triangle vertex in world (or screen) space.
#include "common/ConstantBuffers.glsl"

layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec4 inColor;
layout(location = 2) in vec2 inUv;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec2 outUv;

void main()
{
	gl_Position = WorldToClip(vec4(inPosition, 1.0));
	outColor = inColor;
	outUv = inUv;
}
