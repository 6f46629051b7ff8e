#version 450
// A triangle covering the screen, made from the vertex index alone; uv (0, 0)
// is the top-left corner.

layout(location = 0) out vec2 outUv;

void main()
{
	const vec2 someUv = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
	outUv = someUv;
	gl_Position = vec4(someUv.x * 2.0 - 1.0, 1.0 - someUv.y * 2.0, 0.0, 1.0);
}
