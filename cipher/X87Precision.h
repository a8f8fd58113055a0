#pragma once
// The precision control of the x87 unit, which does long double arithmetic on
// x86. A process's first thread runs at 64-bit mantissa, but threads the
// Windows API makes (as Qt's are) start at 53 bits, and a library may lower it
// on any thread; computations that must round like the extended format set it
// themselves for their duration.
//
// Only x86 with GCC or Clang: elsewhere long double is not the x87 format and
// code that needs the extended rounding refuses to build anyway.
#if !(defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__)))
#error "the x87 precision control needs x86 with GCC or Clang (MinGW on Windows)"
#endif

enum class X87Precision : unsigned short {
    Single = 0,   // 24-bit mantissa
    Double = 2,   // 53-bit mantissa
    Extended = 3, // 64-bit mantissa
};

// The precision in force on the calling thread.
X87Precision CurrentX87Precision();

// Sets the calling thread's precision and puts the old control word back when
// it ends. Rounding mode and exception masks stay as they are.
class X87PrecisionScope {
public:
    explicit X87PrecisionScope(X87Precision precision);
    ~X87PrecisionScope();
    X87PrecisionScope(const X87PrecisionScope&) = delete;
    X87PrecisionScope& operator=(const X87PrecisionScope&) = delete;

private:
    unsigned short saved_;
};
