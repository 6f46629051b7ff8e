#version 450
// The colour texture (slot 1) tinted by the vertex colour.

layout(binding = 1) uniform sampler2D colorTexture_s0;

layout(location = 0) in vec4 inColor;
layout(location = 1) in vec2 inUv;
layout(location = 0) out vec4 outColor;

void main()
{
	outColor = texture(colorTexture_s0, inUv) * inColor;
}
