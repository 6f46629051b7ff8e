#version 450
// Copies the source (slot 0).

layout(binding = 0) uniform sampler2D sourceTexture_s0;
layout(location = 0) in vec2 inUv;
layout(location = 0) out vec4 outColor;

void main()
{
	outColor = texture(sourceTexture_s0, inUv);
}
