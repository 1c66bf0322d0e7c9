// The Danish status-line text of a script error, composed in one place.
#include "compiler/Diagnostics.h"

#include "support/FormatNumber.h"

namespace {

// Texts joined from a token and a fixed part are cut at these lengths.
constexpr std::size_t ShortCut = 32;
constexpr std::size_t LongCut = 35;
constexpr std::size_t ComputeCut = 46;

std::string Join(std::string_view a, std::string_view b, std::size_t cut) {
    std::string s(a);
    s += b;
    if (s.size() > cut) s.resize(cut);
    return s;
}

std::string Number(double t) { return FormatNumber(10, t); }

}  // namespace

const char* ExpectedTokenText(int errorCode) {
    switch (errorCode) {
    case 3: return "*)";
    case 5: return "=";
    case 7: return "'";
    case 8: return ",";
    case 9: return "<";
    case 10: return ">";
    case 15: return "<";
    case 16: return "Udtryk";
    case 17: return ")";
    case 18: return "(";
    case 23: return "Heltal";
    case 24: return "Datanavn";
    default: return nullptr;
    }
}

std::string ComposeMessage(int errorCode, std::string_view tokenText, std::string_view lastName, double t) {
    switch (errorCode) {
    case 2:
    case 16: return Join(tokenText, " for stort", LongCut);
    case 3:
    case 5:
    case 7:
    case 8:
    case 9:
    case 10:
    case 15:
    case 17:
    case 18:
    case 23:
    case 24: return Join(tokenText, " forventet", LongCut);
    case 4:
    case 11: return Join(tokenText, " ukendt", ShortCut);
    case 12: return "For Mange datanavne";
    case 13: return "Internt stakoverl\xF8" "b";
    case 14: return Join(tokenText, " brugt f\xF8r", LongCut);
    case 19: return "Stopbetingelse opfyldt i " + Number(t);
    case 20: return "Fejl i udtryk";
    case 21: return std::string(lastName) + " kan ikke st\xE5 her";
    case 22: return "Beregningsusikkerhed for stor i " + Number(t);
    case 25: return Join(tokenText, " kan ikke udregnes i ", ComputeCut) + Number(t);
    case 28: return "Tabel for stor";
    case 29: return "Tabel i uorden";
    default: return "";
    }
}
