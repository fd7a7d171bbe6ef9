// The sine, cosine and arctangent that the simulation, the level readers and
// the level generator use instead of the C library's.
//
// C libraries round these in the last bit each their own way, and glibc even
// picks its version by CPU when the program loads, so one build could give
// different bits on two machines. These are compiled into the program from one
// portable C source (musl's, from Debian's source package) on every platform,
// with no CPU dispatch and no fused multiply-add, so the same input gives the
// same bits on Linux, Windows and in the browser, on any x86-64 CPU. The
// blob step truncates to whole pixels, so a single differing bit would end a
// replay's bit-for-bit match for good.
//
// Results are within 1 ulp of the true value; sqrt and floor need no
// counterpart, as IEEE arithmetic rounds them exactly everywhere.
#pragma once

extern "C" {
double portable_sin(double radians);
double portable_cos(double radians);
double portable_atan(double ratio);
}
