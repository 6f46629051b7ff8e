#version 450
#extension GL_GOOGLE_include_directive : require
// The model vertex shader: the 14-element, 180-byte model vertex placed by the
// object's world matrix. Built with SKINNED it first carries the vertex by up to
// four bones (bone matrices are inverse bind x joint world); a vertex without
// weights stays where it is.
#include "common/ConstantBuffers.glsl"
#include "common/ModelBuffers.glsl"

layout(location = 0) in vec4 inPosition;
layout(location = 1) in vec4 inColor0;
layout(location = 5) in vec2 inUv0;
layout(location = 9) in vec3 inNormal;
layout(location = 10) in vec3 inTangent;
layout(location = 11) in vec3 inBinormal;
layout(location = 12) in vec4 inBones;
layout(location = 13) in vec4 inWeights;

layout(location = 0) out ModelVaryings outVertex;

mat4 SkinMatrix()
{
#ifdef SKINNED
	const float someWeight = inWeights.x + inWeights.y + inWeights.z + inWeights.w;
	if (someWeight > 0.0)
	{
		const ivec4 someBones = clamp(ivec4(inBones + 0.5), ivec4(0), ivec4(127));
		return (skin.bones[someBones.x] * inWeights.x + skin.bones[someBones.y] * inWeights.y
			+ skin.bones[someBones.z] * inWeights.z + skin.bones[someBones.w] * inWeights.w) / someWeight;
	}
#endif
	return mat4(1.0);
}

void main()
{
	const mat4 someToWorld = SkinMatrix() * model.world;
	const vec4 someWorld = vec4(inPosition.xyz, 1.0) * someToWorld;
	gl_Position = WorldToClip(someWorld);
	const mat3 someBasis = mat3(someToWorld);
	outVertex.worldPosition = someWorld.xyz;
	outVertex.normal = inNormal * someBasis;
	outVertex.tangent = inTangent * someBasis;
	outVertex.binormal = inBinormal * someBasis;
	outVertex.uv = inUv0;
	outVertex.color = inColor0;
}
