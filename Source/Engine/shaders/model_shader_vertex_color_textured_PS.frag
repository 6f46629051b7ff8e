#version 450
// The colour texture (slot 1) tinted by the vertex colour. Fragments with nothing to
// show are dropped before they reach the depth buffer: the clear ground of a
// transparent sprite never hides what is drawn behind it afterwards.

layout(binding = 1) uniform sampler2D colorTexture_s0;

layout(location = 0) in vec4 inColor;
layout(location = 1) in vec2 inUv;
layout(location = 0) out vec4 outColor;

const float CLEAR_ALPHA = 1.0 / 255.0; // below one step of an 8-bit alpha

void main()
{
	outColor = texture(colorTexture_s0, inUv) * inColor;
	if (outColor.a < CLEAR_ALPHA)
		discard;
}
