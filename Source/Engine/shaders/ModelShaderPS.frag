#version 450
#extension GL_GOOGLE_include_directive : require
// The model pixel shader, lit by the state stack's lights. Textures: colour
// (slot 1, sRGB), tangent-space normal map (2), material (3: r metalness,
// g roughness, b ambient occlusion), effects (4: r emissive strength); the
// environment cube map (slot 0) gives the reflections. The physically based
// form uses a GGX specular term; built with LAMBERT it is diffuse only. Built
// with AMBIENT_ONLY it is the form for states without a directional or point
// light and with the white environment map: the same picture, with neither the
// lights' terms nor the cube-map sample. Built with DEFAULT_SURFACE it is the
// form for meshes whose normal, material and effects textures are the engine's
// uniform defaults: their texels are constants here instead of three samples.
#include "common/ConstantBuffers.glsl"
#include "common/ModelBuffers.glsl"

layout(binding = 0) uniform samplerCube environmentMap;
layout(binding = 1) uniform sampler2D colorTexture;
layout(binding = 2) uniform sampler2D normalTexture;
layout(binding = 3) uniform sampler2D materialTexture;
layout(binding = 4) uniform sampler2D effectsTexture;

layout(location = 0) in ModelVaryings inVertex;
layout(location = 0) out vec4 outColor;

const float PI = 3.14159265;
const float ENVIRONMENT_MIP_RANGE = 8.0; // mips spanned from smooth to rough
const float MIN_ROUGHNESS = 0.04;        // keeps the highlight finite
#ifdef DEFAULT_SURFACE
// The texels of T_Default_n, T_Default_m and T_Default_fx, each one colour throughout.
const vec3 DEFAULT_NORMAL_TEXEL = vec3(128.0, 128.0, 255.0) / 255.0;
const vec3 DEFAULT_MATERIAL_TEXEL = vec3(0.0, 153.0, 255.0) / 255.0;
#endif

struct Surface
{
	vec3 albedo;
	vec3 normal;
	vec3 toEye;
	float metalness;
	float roughness;
};

vec3 AdjustColor(vec3 aColor)
{
	const float someBrightness = model.colorAdjust.x;
	const float someSaturation = model.colorAdjust.y;
	const float someHue = model.colorAdjust.z * 2.0 * PI;
	// Hue turns about the grey axis (Rodrigues' rotation).
	const vec3 someAxis = vec3(0.57735);
	const float c = cos(someHue);
	const float s = sin(someHue);
	vec3 someColor = aColor * c + cross(someAxis, aColor) * s + someAxis * dot(someAxis, aColor) * (1.0 - c);
	const float someLuma = dot(someColor, vec3(0.2126, 0.7152, 0.0722));
	someColor = mix(vec3(someLuma), someColor, someSaturation);
	return max(someColor * someBrightness, vec3(0.0));
}

vec3 ShadedNormal()
{
	const vec3 someNormal = normalize(inVertex.normal);
#ifdef DEFAULT_SURFACE
	const vec3 someTangentNormal = DEFAULT_NORMAL_TEXEL * 2.0 - 1.0;
#else
	const vec3 someTangentNormal = texture(normalTexture, inVertex.uv).xyz * 2.0 - 1.0;
#endif
	const vec3 someTangent = inVertex.tangent;
	const vec3 someBinormal = inVertex.binormal;
	if (dot(someTangent, someTangent) < 1e-8 || dot(someBinormal, someBinormal) < 1e-8)
		return someNormal;
	const vec3 someMapped = someTangentNormal.x * normalize(someTangent) + someTangentNormal.y * normalize(someBinormal) + someTangentNormal.z * someNormal;
	return dot(someMapped, someMapped) > 1e-8 ? normalize(someMapped) : someNormal;
}

// Light arriving from aToLight with aRadiance.
vec3 Shade(Surface aSurface, vec3 aToLight, vec3 aRadiance)
{
	const float someNdotL = max(dot(aSurface.normal, aToLight), 0.0);
#ifdef LAMBERT
	return aSurface.albedo * aRadiance * someNdotL;
#else
	const vec3 someHalf = normalize(aToLight + aSurface.toEye);
	const float someNdotV = max(dot(aSurface.normal, aSurface.toEye), 1e-4);
	const float someNdotH = max(dot(aSurface.normal, someHalf), 0.0);
	const float a = aSurface.roughness * aSurface.roughness;
	const float a2 = a * a;
	const float someDenominator = someNdotH * someNdotH * (a2 - 1.0) + 1.0;
	const float someDistribution = a2 / (PI * someDenominator * someDenominator);
	const float k = (aSurface.roughness + 1.0) * (aSurface.roughness + 1.0) / 8.0;
	const float someGeometry = (someNdotV / (someNdotV * (1.0 - k) + k)) * (someNdotL / (someNdotL * (1.0 - k) + k));
	const vec3 someF0 = mix(vec3(0.04), aSurface.albedo, aSurface.metalness);
	const vec3 someFresnel = someF0 + (1.0 - someF0) * pow(1.0 - max(dot(someHalf, aSurface.toEye), 0.0), 5.0);
	const vec3 someSpecular = someDistribution * someGeometry * someFresnel / (4.0 * someNdotV * max(someNdotL, 1e-4));
	const vec3 someDiffuse = (1.0 - someFresnel) * (1.0 - aSurface.metalness) * aSurface.albedo;
	return (someDiffuse + someSpecular * PI) * aRadiance * someNdotL;
#endif
}

vec3 Ambient(Surface aSurface, float anOcclusion)
{
	const vec3 someAmbient = lights.ambientColor.rgb * anOcclusion;
#ifdef LAMBERT
	return aSurface.albedo * someAmbient;
#else
	const float someNdotV = max(dot(aSurface.normal, aSurface.toEye), 0.0);
	const vec3 someF0 = mix(vec3(0.04), aSurface.albedo, aSurface.metalness);
	const vec3 someFresnel = someF0 + (max(vec3(1.0 - aSurface.roughness), someF0) - someF0) * pow(1.0 - someNdotV, 5.0);
	const vec3 someReflected = reflect(-aSurface.toEye, aSurface.normal);
#ifdef AMBIENT_ONLY
	const vec3 someEnvironment = vec3(1.0);
#else
	const vec3 someEnvironment = textureLod(environmentMap, someReflected, aSurface.roughness * ENVIRONMENT_MIP_RANGE).rgb;
#endif
	const vec3 someDiffuse = (1.0 - someFresnel) * (1.0 - aSurface.metalness) * aSurface.albedo;
	return (someDiffuse + someEnvironment * someFresnel) * someAmbient;
#endif
}

void main()
{
	const vec4 someBase = texture(colorTexture, inVertex.uv) * inVertex.color;
#ifdef DEFAULT_SURFACE
	const vec3 someMaterial = DEFAULT_MATERIAL_TEXEL;
#else
	const vec3 someMaterial = texture(materialTexture, inVertex.uv).rgb;
#endif
	const vec3 someEyePosition = (vec4(0.0, 0.0, 0.0, 1.0) * camera.cameraTransform).xyz;

	Surface someSurface;
	someSurface.albedo = AdjustColor(mix(someBase.rgb, model.color.rgb, model.color.a));
	someSurface.normal = ShadedNormal();
	someSurface.toEye = normalize(someEyePosition - inVertex.worldPosition);
	someSurface.metalness = clamp(someMaterial.r, 0.0, 1.0);
	someSurface.roughness = clamp(someMaterial.g, MIN_ROUGHNESS, 1.0);

	vec3 someLight = Ambient(someSurface, someMaterial.b);
#ifndef AMBIENT_ONLY
	// The directional light shines along its transform's forward (third) row.
	const vec3 someForward = (vec4(0.0, 0.0, 1.0, 0.0) * lights.directionalTransform).xyz;
	if (dot(someForward, someForward) > 1e-8)
		someLight += Shade(someSurface, normalize(-someForward), lights.directionalColor.rgb * lights.directionalIntensity);
	for (int i = 0; i < min(lights.pointLightCount, 8); ++i)
	{
		const PointLight someLamp = lights.pointLights[i];
		const vec3 someOffset = someLamp.position - inVertex.worldPosition;
		const float someDistance = length(someOffset);
		if (someDistance <= 0.0 || someDistance >= someLamp.range)
			continue;
		const float someFalloff = 1.0 - someDistance / someLamp.range;
		someLight += Shade(someSurface, someOffset / someDistance, someLamp.color.rgb * someLamp.intensity * someFalloff * someFalloff);
	}
#endif
#ifndef DEFAULT_SURFACE
	someLight += someSurface.albedo * texture(effectsTexture, inVertex.uv).r; // the default's is black
#endif
	outColor = vec4(someLight, someBase.a);
}
