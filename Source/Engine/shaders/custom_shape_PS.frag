#version 450
// The shape's texture (slot 1) tinted by its vertex colour.

layout(binding = 1) uniform sampler2D shapeTexture_s0;

layout(location = 0) in vec4 inColor;
layout(location = 1) in vec2 inUv;
layout(location = 0) out vec4 outColor;

void main()
{
	outColor = texture(shapeTexture_s0, inUv) * inColor;
}
