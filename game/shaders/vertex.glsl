#version 120
// Places every vertex through the engine's model, view and projection matrices and hands the
// fragment stage what it needs: texture coordinates, the light of the corner (flat faces make that
// the light of every pixel, at a fraction of the cost) and the eye position for fog.

attribute vec3 vertexPos;
attribute vec2 vertexUV;
attribute vec3 normalCoords;

uniform mat4 model;
uniform mat4 view;
uniform mat4 projection;
uniform int lightEnabled = 0;

varying vec2 uv;
varying vec3 light;  // faces are flat, so lighting per corner is lighting per pixel
varying vec3 eyePosition;  // interpolated per fragment: distances of big faces stay exact

const vec3 keyDirection = vec3(0.4082483, 0.8164966, 0.4082483);  // towards the light, unit length
const vec3 fillDirection = vec3(-0.6, 0.0, -0.8);
const vec3 keyColor = vec3(0.6, 0.59, 0.56);     // warm, from above
const vec3 fillColor = vec3(0.17, 0.18, 0.2);   // cool, from behind
const vec3 ambientColor = vec3(0.25, 0.25, 0.26);

vec3 Lighting(vec3 normal)
{
    float len = length(normal);
    if (len < 1e-6) {
        return vec3(1.0);
    }
    vec3 n = normal / len;
    vec3 light = ambientColor;
    light += keyColor * max(dot(n, keyDirection), 0.0);
    light += fillColor * max(dot(n, fillDirection), 0.0);
    return min(light, vec3(1.0));
}

void main()
{
    vec4 eye = view * (model * vec4(vertexPos, 1.0));
    uv = vertexUV;
    light = lightEnabled != 0 ? Lighting(mat3(model) * normalCoords) : vec3(1.0);
    eyePosition = eye.xyz;
    gl_Position = projection * eye;
}
