// The model shader's own constant buffers, byte for byte as the model shader
// writes them: the object data (slot 4) and the 128 bone matrices (slot 5).

layout(std140, binding = 4, row_major) uniform ModelObjectBuffer
{
	mat4 world;
	vec4 color;       // tint: rgb mixed in by alpha
	vec4 colorAdjust; // brightness, saturation, hue (turns), unused
} model;

layout(std140, binding = 5, row_major) uniform BoneBuffer
{
	mat4 bones[128];
} skin;

// What the model vertex shaders hand the pixel shaders.
struct ModelVaryings
{
	vec3 worldPosition;
	vec3 normal;
	vec3 tangent;
	vec3 binormal;
	vec2 uv;
	vec4 color;
};
