#version 450
#extension GL_GOOGLE_include_directive : require
// One corner of an instanced sprite quad: the instance's world rows place it,
// the UV rectangle picks a part of the texture area (the second rectangle,
// given as left, bottom, right, top; right < left mirrors).
#include "common/ConstantBuffers.glsl"

layout(location = 0) in vec4 inPosition;
layout(location = 1) in uvec4 inVertexIndex;
layout(location = 2) in vec4 inWorldRow0;
layout(location = 3) in vec4 inWorldRow1;
layout(location = 4) in vec4 inWorldRow2;
layout(location = 5) in vec4 inWorldRow3;
layout(location = 6) in vec4 inColor;
layout(location = 7) in vec4 inUvRect;
layout(location = 8) in vec4 inTextureArea;

layout(location = 0) out vec4 outColor;
layout(location = 1) out vec2 outUv;

void main()
{
	const vec4 someWorld = inPosition.x * inWorldRow0 + inPosition.y * inWorldRow1 + inPosition.z * inWorldRow2 + inPosition.w * inWorldRow3;
	gl_Position = WorldToClip(someWorld);
	// The quad spans x 0..1 and y -1..0 with its top-left corner at the origin.
	const vec2 someCorner = vec2(inPosition.x, -inPosition.y);
	const vec2 someInRect = mix(inUvRect.xy, inUvRect.zw, someCorner);
	outUv = vec2(mix(inTextureArea.x, inTextureArea.z, someInRect.x), mix(inTextureArea.w, inTextureArea.y, someInRect.y));
	outColor = inColor;
}
