#version 450
// Maps high-range colour (slot 0) into 0..1 with the ACES filmic curve fit.

layout(binding = 0) uniform sampler2D sourceTexture_s0;
layout(location = 0) in vec2 inUv;
layout(location = 0) out vec4 outColor;

vec3 AcesFilmic(vec3 aColor)
{
	const float A = 2.51, B = 0.03, C = 2.43, D = 0.59, E = 0.14;
	return clamp((aColor * (A * aColor + B)) / (aColor * (C * aColor + D) + E), 0.0, 1.0);
}

void main()
{
	const vec4 someSource = texture(sourceTexture_s0, inUv);
	outColor = vec4(AcesFilmic(someSource.rgb), someSource.a);
}
