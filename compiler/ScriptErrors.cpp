// The Danish status-line text of a script error, composed in one place.
#include "compiler/ScriptErrors.h"

#include "support/FormatNumber.h"

namespace tavlix {

namespace {

// Texts joined from a token and a fixed part are cut at these lengths.
constexpr std::size_t ShortCut = 32;
constexpr std::size_t LongCut = 35;
constexpr std::size_t ComputeCut = 46;

std::string join(std::string_view a, std::string_view b, std::size_t cut)
{
    std::string s(a);
    s += b;
    if (s.size() > cut)
        s.resize(cut);
    return s;
}

std::string number(double t)
{
    return formatNumber(10, t);
}

}  // namespace

const char* expectedTokenText(ScriptError error)
{
    switch (error) {
    case ScriptError::UnclosedComment: return "*)";
    case ScriptError::EqualsExpected: return "=";
    case ScriptError::ApostropheExpected: return "'";
    case ScriptError::CommaExpected: return ",";
    case ScriptError::LessExpected: return "<";
    case ScriptError::GreaterExpected: return ">";
    case ScriptError::ComparisonExpected: return "<";
    case ScriptError::ExpressionTooComplex: return "Udtryk";
    case ScriptError::CloseParenExpected: return ")";
    case ScriptError::OpenParenExpected: return "(";
    case ScriptError::WholeNumberExpected: return "Heltal";
    case ScriptError::DataNameExpected: return "Datanavn";
    default: return nullptr;
    }
}

std::string errorMessage(ScriptError error, std::string_view tokenText, std::string_view lastName, double t)
{
    switch (error) {
    case ScriptError::NumberTooLarge:
    case ScriptError::ExpressionTooComplex: return join(tokenText, " for stort", LongCut);
    case ScriptError::UnclosedComment:
    case ScriptError::EqualsExpected:
    case ScriptError::ApostropheExpected:
    case ScriptError::CommaExpected:
    case ScriptError::LessExpected:
    case ScriptError::GreaterExpected:
    case ScriptError::ComparisonExpected:
    case ScriptError::CloseParenExpected:
    case ScriptError::OpenParenExpected:
    case ScriptError::WholeNumberExpected:
    case ScriptError::DataNameExpected: return join(tokenText, " forventet", LongCut);
    case ScriptError::UnknownName:
    case ScriptError::NeverDefined: return join(tokenText, " ukendt", ShortCut);
    case ScriptError::TooManyNames: return "For Mange datanavne";
    case ScriptError::StackOverflow:
        return "Internt stakoverl\xF8"
               "b";
    case ScriptError::NameUsedBefore: return join(tokenText, " brugt f\xF8r", LongCut);
    case ScriptError::StopConditionMet: return "Stopbetingelse opfyldt i " + number(t);
    case ScriptError::ExpressionError: return "Fejl i udtryk";
    case ScriptError::CannotStandHere:
        return std::string(lastName.empty() ? tokenText : lastName) + " kan ikke st\xE5 her";
    case ScriptError::ToleranceNotMet: return "Beregningsusikkerhed for stor i " + number(t);
    case ScriptError::CannotCompute: return join(tokenText, " kan ikke udregnes i ", ComputeCut) + number(t);
    case ScriptError::TableTooLarge: return "Tabel for stor";
    case ScriptError::TableOutOfOrder: return "Tabel i uorden";
    default: return "";
    }
}

std::string declarationFailureMessage(std::string_view declared)
{
    return join(declared, " kan ikke udregnes", ComputeCut);
}

}  // namespace tavlix
