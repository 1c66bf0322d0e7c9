// Tokens, their kinds, positions and texts as the lexer reads them.
#include "compiler/Lexer.h"
#include "engine/Model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace tavlix;

namespace {

const char* KindName(TokenKind kind)
{
    switch (kind) {
    case TokenKind::Name: return "Name";
    case TokenKind::ConstantsKeyword: return "ConstantsKeyword";
    case TokenKind::FunctionsKeyword: return "FunctionsKeyword";
    case TokenKind::EquationsKeyword: return "EquationsKeyword";
    case TokenKind::Function: return "Function";
    case TokenKind::Error: return "Error";
    case TokenKind::Number: return "Number";
    case TokenKind::Power: return "Power";
    case TokenKind::MulOp: return "MulOp";
    case TokenKind::AddOp: return "AddOp";
    case TokenKind::Open: return "Open";
    case TokenKind::Close: return "Close";
    case TokenKind::Less: return "Less";
    case TokenKind::Greater: return "Greater";
    case TokenKind::Comma: return "Comma";
    case TokenKind::End: return "End";
    case TokenKind::Equals: return "Equals";
    case TokenKind::GraphOutputKeyword: return "GraphOutputKeyword";
    case TokenKind::TableOutputKeyword: return "TableOutputKeyword";
    case TokenKind::Comment: return "Comment";
    case TokenKind::Colon: return "Colon";
    case TokenKind::If: return "If";
    case TokenKind::Or: return "Or";
    case TokenKind::And: return "And";
    case TokenKind::Stop: return "Stop";
    case TokenKind::TablesKeyword: return "TablesKeyword";
    case TokenKind::Compare: return "Compare";
    case TokenKind::Style: return "Style";
    default: return "?";
    }
}

// "kind@start:text", with bytes outside printable ASCII written as \xNN.
std::string Describe(const Lexer& lx)
{
    std::string s = std::string(KindName(lx.tokenKind())) + "@" + std::to_string(lx.tokenStart()) + ":";
    for (char c : lx.tokenText()) {
        auto b = static_cast<unsigned char>(c);
        if (b >= 32 && b < 127) {
            s += c;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", b);
            s += buf;
        }
    }
    return s;
}

// Every token of the text (read as one script line), up to and including the end or an error.
std::vector<std::string> Tokens(const std::string& line)
{
    Lexer lx;
    lx.startReading(line + "\r\n");
    std::vector<std::string> out;
    do {
        lx.nextToken();
        out.push_back(Describe(lx));
    } while (lx.tokenKind() != TokenKind::End && lx.tokenKind() != TokenKind::Error && out.size() < 50);
    return out;
}

struct LexCase {
    const char* name;
    std::string line;
    std::vector<std::string> tokens;
};

void PrintTo(const LexCase& c, std::ostream* os)
{
    *os << c.name;
}

class LexerTokens : public testing::TestWithParam<LexCase> {};

TEST_P(LexerTokens, KindsPositionsAndTexts)
{
    EXPECT_EQ(Tokens(GetParam().line), GetParam().tokens);
}

const std::string Digits28 = "1234567890123456789012345678";
const std::string Name30 = "abcdefghijklmnopqrstuvwxyzabcd";

INSTANTIATE_TEST_SUITE_P(
    Lexer, LexerTokens,
    testing::Values(
        LexCase{"Comment", "(* a *) b", {"Comment@1:(", "Name@9:b", "End@10:\\x00"}},
        LexCase{"ShortestComment", "(*) x", {"Comment@1:(", "Name@5:x", "End@6:\\x00"}},
        LexCase{"TwoStarsClose", "(** c **)y", {"Comment@1:(", "Name@10:y", "End@11:\\x00"}},
        LexCase{"UnclosedComment", "a (* b", {"Name@1:a", "Error@3:("}},
        LexCase{"OpenParen", "(a)", {"Open@1:(", "Name@2:a", "Close@3:)", "End@4:\\x00"}},
        LexCase{"Comparisons",
                "<> >< <= >= < >",
                {"Compare@1:\\x84", "Compare@4:\\x84", "Compare@7:\\x83", "Compare@10:\\x85", "Less@13:<",
                 "Greater@15:>", "End@16:\\x00"}},
        LexCase{"DoubleLess", "<<", {"Error@1:<<"}},
        LexCase{"EqualsThenLess", "=<", {"Equals@1:=", "Less@2:<", "End@3:\\x00"}},
        LexCase{"DanishCapitals", "\xC6rter \xD8\xC5", {"Name@1:\\xE6rter", "Name@7:\\xF8\\xE5", "End@9:\\x00"}},
        LexCase{"NumberThenName", "2x", {"Number@1:2", "Name@2:x", "End@3:\\x00"}},
        LexCase{"NameWithDigitsAndUnderscore", "A_1b2+", {"Name@1:a_1b2", "AddOp@6:+", "End@7:\\x00"}},
        LexCase{"SectionKeywordsAnyCase",
                "KONSTANTER Konstanter",
                {"ConstantsKeyword@1:konstanter", "ConstantsKeyword@12:konstanter", "End@22:\\x00"}},
        LexCase{"FunctionCodes",
                "SIN arcTan atn sqr",
                {"Function@1:s", "Function@5:T", "Function@12:T", "Function@16:q", "End@19:\\x00"}},
        LexCase{"ConditionWords",
                "hvis og eller stop",
                {"If@1:\\x86", "And@6:*", "Or@9:+", "Stop@15:\\x87", "End@19:\\x00"}},
        LexCase{"Styles", "l1 m6 l7", {"Style@1:\\x01", "Style@4:\\x0C", "Name@7:l7", "End@9:\\x00"}},
        LexCase{"Operators",
                "^'*/-,:;=",
                {"Power@1:'", "Power@2:'", "MulOp@3:*", "MulOp@4:/", "AddOp@5:-", "Comma@6:,",
                 "Colon@7::", "Comment@8:;", "Equals@9:=", "End@10:\\x00"}},
        LexCase{"StrayCharacter", "a # b", {"Name@1:a", "Error@3:#"}},
        LexCase{"Numbers",
                "1.5E-3 .5 7. 1e+2",
                {"Number@1:1.5e-3", "Number@8:.5", "Number@11:7.", "Number@14:1e+2", "End@18:\\x00"}},
        LexCase{"NumberTooLarge", "1e999", {"Error@1:1e999"}},
        LexCase{"NumberWithoutExponentDigits", "1e", {"Error@1:1e"}},
        LexCase{"LongNumberTextCut", Digits28, {"Number@1:" + Digits28.substr(0, 25), "End@29:\\x00"}},
        LexCase{"LongNameTextCut", Name30 + " x", {"Name@1:" + Name30.substr(0, 25), "Name@32:x", "End@33:\\x00"}}),
    [](const testing::TestParamInfo<LexCase>& info) { return std::string(info.param.name); });

TEST(Lexer, ErrorCodesOfBadTokens)
{
    struct Row {
        const char* text;
        ScriptError error;
    };
    for (Row row : {Row{"(* open", ScriptError::UnclosedComment}, Row{"#", ScriptError::UnknownName},
                    Row{"1e999", ScriptError::NumberTooLarge}, Row{">>", ScriptError::ExpressionError},
                    Row{"\xE9", ScriptError::UnknownName}}) {
        Lexer lx;
        lx.startReading(std::string(row.text) + "\r\n");
        lx.nextToken();
        EXPECT_EQ(lx.tokenKind(), TokenKind::Error) << row.text;
        EXPECT_EQ(lx.error(), row.error) << row.text;
    }
}

TEST(Lexer, LongNumbersAreConvertedFromTheirWholeText)
{
    Lexer lx;
    lx.startReading(Digits28 + " 1e-400\r\n");
    lx.nextToken();
    ASSERT_EQ(lx.tokenKind(), TokenKind::Number);
    EXPECT_DOUBLE_EQ(lx.tokenValue(), 1234567890123456789012345678.0);
    lx.nextToken();  // too small to hold: zero, not an error
    ASSERT_EQ(lx.tokenKind(), TokenKind::Number);
    EXPECT_EQ(lx.tokenValue(), 0.0);
}

TEST(Lexer, NamesKeepAllTheirCharacters)
{
    Lexer lx;
    lx.startReading(Name30 + "\r\n");
    lx.nextToken();
    EXPECT_EQ(lx.nameText(), Name30);
    EXPECT_EQ(lx.lastName(), Name30.substr(0, 25));
}

TEST(Lexer, EndOfTextRepeatsAndSkipsNothingAfterANul)
{
    Lexer lx;
    lx.startReading(std::string("a", 1) + std::string(1, '\0') + "b\r\n");
    lx.nextToken();
    EXPECT_EQ(lx.tokenKind(), TokenKind::Name);
    for (int i = 0; i < 3; ++i) {
        lx.nextToken();
        EXPECT_EQ(lx.tokenKind(), TokenKind::End);
        EXPECT_EQ(lx.tokenStart(), 2);
    }
}

TEST(Lexer, ExpectAndSkipComments)
{
    Lexer lx;
    lx.startReading("(* c *) ; = x\r\n");
    lx.nextToken();
    lx.skipComments();
    EXPECT_EQ(lx.tokenKind(), TokenKind::Equals);
    EXPECT_TRUE(lx.expect(TokenKind::Equals, ScriptError::EqualsExpected));
    EXPECT_EQ(lx.tokenKind(), TokenKind::Name);
    EXPECT_FALSE(lx.expect(TokenKind::Equals, ScriptError::EqualsExpected));
    EXPECT_EQ(lx.error(), ScriptError::EqualsExpected);
    EXPECT_EQ(lx.tokenKind(), TokenKind::Name);  // a failed check reads nothing
}

}  // namespace
