/* Stands in for the internal header that musl's maths sources include, so
   that the seven files the portable maths is made of (sin.c, cos.c, atan.c
   and the kernels __sin.c, __cos.c, __rem_pio2.c, __rem_pio2_large.c) build
   with any C compiler against any C library: glibc, MinGW-w64's and
   Emscripten's. musl's own header needs <endian.h> and its architecture's
   headers, which MinGW lacks; these files use only the few word-access and
   evaluation helpers below, written out the same way.

   Every function is renamed, so the program's calls are never confused with
   the C library's functions of the same names. */
#ifndef BLOB_MUSL_LIBM_SHIM_H
#define BLOB_MUSL_LIBM_SHIM_H

#include <float.h>
#include <math.h>
#include <stdint.h>

#define sin portable_sin
#define cos portable_cos
#define atan portable_atan
#define __sin portable_sin_kernel
#define __cos portable_cos_kernel
#define __rem_pio2 portable_rem_pio2
#define __rem_pio2_large portable_rem_pio2_large

/* Each intermediate is a double, rounded as a double: what musl computes on
   x86-64 and in WebAssembly. x87 arithmetic, which keeps more bits, would
   give other results. */
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "the portable maths needs doubles evaluated as doubles (SSE2 or WebAssembly)"
#endif
#define double_t double
#define float_t float

#define hidden
#ifdef __GNUC__
#define predict_true(x) __builtin_expect(!!(x), 1)
#define predict_false(x) __builtin_expect(x, 0)
#else
#define predict_true(x) (x)
#define predict_false(x) (x)
#endif

/* Evaluates an expression for its floating-point exceptions only. */
static inline void portable_force_evalf(float x) { volatile float y = x; (void)y; }
static inline void portable_force_eval(double x) { volatile double y = x; (void)y; }
#define FORCE_EVAL(x) do {                            \
    if (sizeof(x) == sizeof(float)) portable_force_evalf(x); \
    else portable_force_eval(x);                      \
  } while (0)

/* The two 32-bit halves of a double's bits. */
#define asuint64(f) ((union { double _f; uint64_t _i; }){f})._i
#define asdouble(i) ((union { uint64_t _i; double _f; }){i})._f
#define EXTRACT_WORDS(hi, lo, d) do { uint64_t __u = asuint64(d); (hi) = __u >> 32; (lo) = (uint32_t)__u; } while (0)
#define GET_HIGH_WORD(hi, d) do { (hi) = asuint64(d) >> 32; } while (0)
#define GET_LOW_WORD(lo, d) do { (lo) = (uint32_t)asuint64(d); } while (0)
#define INSERT_WORDS(d, hi, lo) do { (d) = asdouble(((uint64_t)(hi) << 32) | (uint32_t)(lo)); } while (0)
#define SET_HIGH_WORD(d, hi) INSERT_WORDS(d, hi, (uint32_t)asuint64(d))
#define SET_LOW_WORD(d, lo) INSERT_WORDS(d, asuint64(d) >> 32, lo)

int __rem_pio2_large(double *, double *, int, int, int);
int __rem_pio2(double, double *);
double __sin(double, double, int);
double __cos(double, double);

#endif
