#version 120
// The picture's look: texture times tint (or the tint alone with texturing off), times the light
// the vertex stage worked out (a fixed key and fill light over an ambient floor when lighting is on),
// linear fog by eye distance, and a palette limiter that quantises every colour channel for a retro
// look.

uniform sampler2D diffuseMap;  // never set by the engine: reads texture unit 0

// Every value the engine writes starts as the effect's defaults, so the very first frame is drawn
// with a white tint even before anything has set one.
uniform vec4 tintColor = vec4(1.0, 1.0, 1.0, 1.0);
uniform vec4 fogColor = vec4(1.0, 1.0, 1.0, 1.0);
uniform float fogMin = 0.5;
uniform float fogMax = 1.0;
uniform int fogEnabled = 0;
uniform int texturesEnabled = 1;
uniform float paletteLimiter = 32.0;  // levels per channel; never written by the engine

varying vec2 uv;
varying vec3 light;        // the lighting of this point (white when lighting is off)
varying vec3 eyePosition;

void main()
{
    vec4 color = tintColor;
    if (texturesEnabled != 0) {
        color *= texture2D(diffuseMap, uv);
    }
    color.rgb *= light;
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
