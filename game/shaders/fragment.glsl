#version 120
// The picture's look: texture times tint (or the tint alone with texturing off), a fixed key and
// fill light over an ambient floor when lighting is on, linear fog by eye distance, and a palette
// limiter that quantises every colour channel for a retro look.

uniform sampler2D diffuseMap;  // never set by the engine: reads texture unit 0

// Every value the engine writes starts as the effect's defaults, so the very first frame is drawn
// with a white tint even before anything has set one.
uniform vec4 tintColor = vec4(1.0, 1.0, 1.0, 1.0);
uniform vec4 fogColor = vec4(1.0, 1.0, 1.0, 1.0);
uniform float fogMin = 0.5;
uniform float fogMax = 1.0;
uniform int fogEnabled = 0;
uniform int texturesEnabled = 1;
uniform int lightEnabled = 0;
uniform float paletteLimiter = 32.0;  // levels per channel; never written by the engine

varying vec2 uv;
varying vec3 worldNormal;
varying vec3 eyePosition;

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
    vec4 color = tintColor;
    if (texturesEnabled != 0) {
        color *= texture2D(diffuseMap, uv);
    }
    if (lightEnabled != 0) {
        color.rgb *= Lighting(worldNormal);
    }
    if (fogEnabled != 0) {
        float eyeDistance = length(eyePosition);
        float fog = 1.0;
        if (fogMax > fogMin) {
            fog = clamp((eyeDistance - fogMin) / (fogMax - fogMin), 0.0, 1.0);
        } else if (eyeDistance < fogMin) {
            fog = 0.0;
        }
        color.rgb = mix(color.rgb, fogColor.rgb, fog * fogColor.a);
    }
    if (paletteLimiter > 0.0) {
        color.rgb = floor(color.rgb * paletteLimiter + 0.5) / paletteLimiter;
    }
    gl_FragColor = color;
}
