#version 120
// Places every vertex through the engine's model, view and projection matrices and hands the
// fragment stage what it needs for texturing, lighting (world-space normal) and fog (eye position).

attribute vec3 vertexPos;
attribute vec2 vertexUV;
attribute vec3 normalCoords;

uniform mat4 model;
uniform mat4 view;
uniform mat4 projection;

varying vec2 uv;
varying vec3 worldNormal;
varying vec3 eyePosition;  // interpolated per fragment: distances of big faces stay exact

void main()
{
    vec4 eye = view * (model * vec4(vertexPos, 1.0));
    uv = vertexUV;
    worldNormal = mat3(model) * normalCoords;
    eyePosition = eye.xyz;
    gl_Position = projection * eye;
}
