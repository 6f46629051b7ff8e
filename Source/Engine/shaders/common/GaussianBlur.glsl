// Nine-tap Gaussian blur of the source (slot 0) along BLUR_DIRECTION, in texels.

layout(binding = 0) uniform sampler2D sourceTexture_s0;
layout(location = 0) in vec2 inUv;
layout(location = 0) out vec4 outColor;

const float WEIGHTS[5] = float[](0.227027, 0.1945946, 0.1216216, 0.054054, 0.016216);

void main()
{
	const vec2 someStep = BLUR_DIRECTION / vec2(textureSize(sourceTexture_s0, 0));
	vec4 someSum = texture(sourceTexture_s0, inUv) * WEIGHTS[0];
	for (int i = 1; i < 5; ++i)
	{
		someSum += texture(sourceTexture_s0, inUv + someStep * float(i)) * WEIGHTS[i];
		someSum += texture(sourceTexture_s0, inUv - someStep * float(i)) * WEIGHTS[i];
	}
	outColor = someSum;
}
