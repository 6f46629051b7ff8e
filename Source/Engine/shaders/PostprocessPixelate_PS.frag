#version 450
// Shows the source (slot 0) in square blocks of pixelSize render pixels, each
// block the colour at its centre.

layout(std140, binding = 13) uniform PixelateBuffer
{
	float pixelSize;
	uint renderWidth;
	uint renderHeight;
	uint unused;
} pixelate;

layout(binding = 0) uniform sampler2D sourceTexture_s0;
layout(location = 0) in vec2 inUv;
layout(location = 0) out vec4 outColor;

void main()
{
	const vec2 someRenderSize = max(vec2(pixelate.renderWidth, pixelate.renderHeight), vec2(1.0));
	const float someBlock = max(pixelate.pixelSize, 1.0);
	const vec2 somePixel = (floor(inUv * someRenderSize / someBlock) + 0.5) * someBlock;
	outColor = texture(sourceTexture_s0, somePixel / someRenderSize);
}
