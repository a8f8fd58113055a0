#include "cipher/X87Precision.h"

// Out of line on purpose: a call the compiler cannot see into keeps the
// arithmetic of the caller on its side of the change of precision.

namespace {

constexpr unsigned short PrecisionBits = 0x0300;

unsigned short ReadControlWord()
{
    unsigned short word = 0;
    asm volatile("fnstcw %0" : "=m"(word) : : "memory");
    return word;
}

void WriteControlWord(unsigned short word)
{
    asm volatile("fldcw %0" : : "m"(word) : "memory");
}

} // namespace

X87Precision CurrentX87Precision()
{
    return static_cast<X87Precision>((ReadControlWord() & PrecisionBits) >> 8);
}

X87PrecisionScope::X87PrecisionScope(X87Precision precision)
    : saved_(ReadControlWord())
{
    const auto bits = static_cast<unsigned short>(static_cast<unsigned short>(precision) << 8);
    WriteControlWord(static_cast<unsigned short>((saved_ & ~PrecisionBits) | bits));
}

X87PrecisionScope::~X87PrecisionScope()
{
    WriteControlWord(saved_);
}
