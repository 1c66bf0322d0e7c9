// Hand-assembled models for the benchmarks: reverse-polish code as the compiler would emit it.
#pragma once

#include "engine/EngineHost.h"
#include "engine/Model.h"
#include "engine/Opcodes.h"

#include <cstring>
#include <string>

struct BenchCode {
    std::string bytes;
    BenchCode& num(double v)
    {
        char b[8];
        std::memcpy(b, &v, 8);
        bytes += char(OpNum);
        bytes.append(b, 8);
        return *this;
    }
    BenchCode& op(OpCode c) { bytes += char(c); return *this; }
    BenchCode& ref(int r) { bytes += char(OpRef); bytes += char(r); return *this; }
    BenchCode& table(int j) { bytes += char(OpTable); bytes += char(j); return *this; }
};

inline int BenchRecord(datarec& m, const char* name, const BenchCode& code, double lo = -BigValue, bool ode = false)
{
    const int r = ++m.RecordCount;
    FuncRec& rec = m.Records[r];
    rec.Name = name;
    rec.Code.assign(code.bytes);
    rec.Code.push_back('\0');
    rec.CacheT = BigValue;
    rec.Lo = lo;
    rec.Hi = BigValue;
    rec.IsOde = ode;
    return r;
}
