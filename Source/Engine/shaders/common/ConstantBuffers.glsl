// The engine's constant buffers, byte for byte as the graphics state stack
// writes them. Matrices are row-major and multiply row vectors: v * M.

layout(std140, binding = 0) uniform FrameBuffer
{
	vec2 resolution;
	float totalTime;
	float deltaTime;
} frame;

layout(std140, binding = 1, row_major) uniform CameraBuffer
{
	mat4 view;
	mat4 cameraTransform;
	mat4 projection;
	mat4 inverseProjection;
	float nearPlane;
	float farPlane;
} camera;

struct PointLight
{
	vec3 position;
	vec4 color;
	float range;
	float intensity;
};

layout(std140, binding = 2, row_major) uniform LightBuffer
{
	PointLight pointLights[8];
	int pointLightCount;
	float directionalIntensity;
	vec2 padding;
	vec4 ambientColor;
	vec4 directionalColor;
	mat4 directionalTransform;
} lights;

layout(std140, binding = 3) uniform ObjectBuffer
{
	vec4 objectVector;
	uint objectWord;
} object;

vec4 WorldToClip(vec4 aWorldPosition)
{
	return aWorldPosition * camera.view * camera.projection;
}
