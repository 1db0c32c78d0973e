#pragma once

namespace vastorim {

float minOf(float a, float b); // a when a < b, otherwise b (b on a tie)
float maxOf(float a, float b); // a when a > b, otherwise b (b on a tie)

// Alpha-max-plus-beta-min estimate of the distance between (x1, y1) and (x2, y2): between 0.9834
// and 1.0736 times the true distance, without a square root. Note the order: both x, then both y.
float approxDistance(float x1, float x2, float y1, float y2);

// Sine and cosine of an angle in radians from plain IEEE arithmetic alone, for the simulation:
// the C library's may pick a different routine on another processor and differ in the last bit,
// which a replay would magnify into another game. Within two units in the last place up to a
// million radians; beyond that the same on every machine, only less exact.
double sine(double radians);
double cosine(double radians);

} // namespace vastorim
