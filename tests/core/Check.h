#pragma once
// A small test runner for the plain C++ tests of the core: no Qt, so that the
// same tests build with a cross compiler and run under wine. A test case is a
// function registered with TEST_CASE; CHECK and CHECK_EQ report a failure and
// go on. The program's exit code is 0 only when every case passed.
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace check {

struct Case {
    const char* name;
    void (*run)();
};

inline std::vector<Case>& Cases()
{
    static std::vector<Case> cases;
    return cases;
}

inline int& Failures()
{
    static int failures = 0;
    return failures;
}

struct Register {
    Register(const char* name, void (*run)()) { Cases().push_back({name, run}); }
};

// Texts of the cipher are shown with anything outside ASCII as U+hex.
inline std::string Show(const std::u32string& text)
{
    std::string out = "\"";
    for (const char32_t ch : text) {
        if (ch >= 0x20 && ch < 0x7F) {
            out += static_cast<char>(ch);
        } else {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "<U+%04X>", static_cast<unsigned>(ch));
            out += buffer;
        }
    }
    return out + "\"";
}

template <class T>
std::string Show(const T& value)
{
    std::ostringstream out;
    out.precision(12);
    out << value;
    return out.str();
}

inline void Fail(const char* file, int line, const std::string& what)
{
    ++Failures();
    std::cout << "  FAIL " << file << ':' << line << ": " << what << std::endl;
}

template <class A, class B>
void Equal(const A& actual, const B& expected, const char* actualText, const char* expectedText, const char* file,
           int line)
{
    if (!(actual == expected))
        Fail(file, line, std::string(actualText) + " == " + expectedText + "\n    actual:   " + Show(actual)
                             + "\n    expected: " + Show(expected));
}

// Runs every case, or those whose names are given as arguments.
inline int RunAll(int argc, char** argv)
{
    int failedCases = 0;
    for (const Case& c : Cases()) {
        bool chosen = argc < 2;
        for (int i = 1; i < argc; ++i)
            chosen = chosen || std::string(argv[i]) == c.name;
        if (!chosen)
            continue;
        const int before = Failures();
        c.run();
        const bool passed = Failures() == before;
        failedCases += passed ? 0 : 1;
        std::cout << (passed ? "PASS " : "FAIL ") << c.name << std::endl;
    }
    std::cout << (failedCases == 0 ? "all passed" : std::to_string(failedCases) + " failed") << std::endl;
    return failedCases == 0 ? 0 : 1;
}

} // namespace check

#define TEST_CASE(name)                                       \
    static void name();                                       \
    static const check::Register name##Registered(#name, name); \
    static void name()

#define CHECK(condition)                                                    \
    do {                                                                    \
        if (!(condition))                                                   \
            check::Fail(__FILE__, __LINE__, "CHECK(" #condition ")");       \
    } while (false)

#define CHECK_EQ(actual, expected) check::Equal((actual), (expected), #actual, #expected, __FILE__, __LINE__)

#define TEST_MAIN() \
    int main(int argc, char** argv) { return check::RunAll(argc, argv); }
