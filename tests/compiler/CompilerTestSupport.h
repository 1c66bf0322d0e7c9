// Helpers for the compiler tests: test settings and a one-call script run with a recording host.
#pragma once

#include "compiler/ScriptCompiler.h"
#include "tests/engine/EngineTestSupport.h"

#include <cctype>
#include <string>
#include <vector>

namespace compiler_test {

using namespace tavlix;

// The engine tests' recording host serves the compiler tests too.
using tavlix::test::RecordingHost;

// The script's lines, split at "\n".
inline std::vector<std::string> ScriptLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    lines.push_back(line);
    return lines;
}

// t from tMin to tMax in `steps` steps, or with the step `delta` when it is not 0; the other settings are the defaults.
inline SettingsTexts TestSettings(const char* tMin = "0", const char* tMax = "10", const char* steps = "10",
                                  const char* delta = "0")
{
    SettingsTexts s = defaultSettings();
    s[8] = tMin;
    s[9] = tMax;
    s[10] = steps;
    s[11] = delta;
    return s;
}

// before + i + after for every i from `from` to `to`: the lines of a script that fills a bound.
inline std::string Numbered(int from, int to, const std::string& before, const std::string& after)
{
    std::string s;
    for (int i = from; i <= to; ++i)
        s += before + std::to_string(i) + after;
    return s;
}

inline std::string Repeated(const std::string& text, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += text;
    return s;
}

// A parameterised case's name as GoogleTest accepts it: letters and digits, the rest '_'.
inline std::string CaseName(std::string name)
{
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

// y' = f<depth>, where f1 = 1 and each further f adds 1 to the one before: the derivative is computed on a
// stack that holds every level of the chain at once.
inline std::string StackChain(int depth)
{
    std::string s = "differentialligninger\ny' = f" + std::to_string(depth) + " <0>\nfunktioner\nf1 = 1\n";
    for (int k = 2; k <= depth; ++k)
        s += "f" + std::to_string(k) + " = 1 + f" + std::to_string(k - 1) + "\n";
    return s + "tabelvariable\ny";
}

inline RunResult RunScript(ScriptCompiler& compiler, const std::string& text, EngineHost& host,
                           const SettingsTexts& settings = TestSettings())
{
    return compiler.run(settings, ScriptLines(text), "doc", host);
}

}  // namespace compiler_test
