// Sine, cosine and the arc tangent of the world rules, from IEEE arithmetic alone. The C
// libraries of the two platforms round these functions differently in the last bit, and the
// world must step identically everywhere (replays are compared bit for bit). Accurate to about
// one unit in the last place of a double, so results rounded to float match a correctly rounded
// float function.
#pragma once

double Sine(double x);
double Cosine(double x);
// The angle of (x, y) from the +x axis, in -pi..pi, with the usual signed-zero and infinity cases.
double ArcTangent2(double y, double x);

inline float Sine(float x) { return static_cast<float>(Sine(static_cast<double>(x))); }
inline float Cosine(float x) { return static_cast<float>(Cosine(static_cast<double>(x))); }
