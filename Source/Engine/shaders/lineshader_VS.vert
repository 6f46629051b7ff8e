#version 450
#extension GL_GOOGLE_include_directive : require
// Line vertices come already transformed; only the camera is applied here.
#include "common/ConstantBuffers.glsl"

layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec4 inColor;
layout(location = 0) out vec4 outColor;

void main()
{
	gl_Position = WorldToClip(vec4(inPosition, 1.0));
	outColor = inColor;
}
