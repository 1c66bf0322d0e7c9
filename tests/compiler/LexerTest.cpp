// Tokens, their kinds, positions and texts as the lexer reads them.
#include "compiler/Lexer.h"
#include "engine/Model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// "kind@start:text", with bytes outside printable ASCII written as \xNN.
std::string Describe(const Lexer& lx) {
    std::string s = std::to_string(lx.TokenKind) + "@" + std::to_string(lx.TokenStart) + ":";
    for (char c : Eng.TokenText.view()) {
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
std::vector<std::string> Tokens(const std::string& line) {
    Lexer lx;
    lx.StartReading(line + "\r\n");
    std::vector<std::string> out;
    do {
        lx.GetToken();
        out.push_back(Describe(lx));
    } while (lx.TokenKind != TkEnd && lx.TokenKind != TkError && out.size() < 50);
    return out;
}

struct LexCase {
    const char* name;
    std::string line;
    std::vector<std::string> tokens;
};

void PrintTo(const LexCase& c, std::ostream* os) { *os << c.name; }

class LexerTokens : public testing::TestWithParam<LexCase> {};

TEST_P(LexerTokens, KindsPositionsAndTexts) { EXPECT_EQ(Tokens(GetParam().line), GetParam().tokens); }

const std::string Digits28 = "1234567890123456789012345678";
const std::string Name30 = "abcdefghijklmnopqrstuvwxyzabcd";

INSTANTIATE_TEST_SUITE_P(
    Lexer, LexerTokens,
    testing::Values(
        LexCase{"Comment", "(* a *) b", {"20@1:(", "1@9:b", "16@10:\\x00"}},
        LexCase{"ShortestComment", "(*) x", {"20@1:(", "1@5:x", "16@6:\\x00"}},
        LexCase{"TwoStarsClose", "(** c **)y", {"20@1:(", "1@10:y", "16@11:\\x00"}},
        LexCase{"UnclosedComment", "a (* b", {"1@1:a", "6@3:("}},
        LexCase{"OpenParen", "(a)", {"11@1:(", "1@2:a", "12@3:)", "16@4:\\x00"}},
        LexCase{"Comparisons", "<> >< <= >= < >",
                {"28@1:\\x84", "28@4:\\x84", "28@7:\\x83", "28@10:\\x85", "13@13:<", "14@15:>", "16@16:\\x00"}},
        LexCase{"DoubleLess", "<<", {"6@1:<<"}},
        LexCase{"EqualsThenLess", "=<", {"17@1:=", "13@2:<", "16@3:\\x00"}},
        LexCase{"DanishCapitals", "\xC6rter \xD8\xC5", {"1@1:\\xE6rter", "1@7:\\xF8\\xE5", "16@9:\\x00"}},
        LexCase{"NumberThenName", "2x", {"7@1:2", "1@2:x", "16@3:\\x00"}},
        LexCase{"NameWithDigitsAndUnderscore", "A_1b2+", {"1@1:a_1b2", "10@6:+", "16@7:\\x00"}},
        LexCase{"SectionKeywordsAnyCase", "KONSTANTER Konstanter",
                {"2@1:konstanter", "2@12:konstanter", "16@22:\\x00"}},
        LexCase{"FunctionCodes", "SIN arcTan atn sqr", {"5@1:s", "5@5:T", "5@12:T", "5@16:q", "16@19:\\x00"}},
        LexCase{"ConditionWords", "hvis og eller stop",
                {"22@1:\\x86", "24@6:*", "23@9:+", "25@15:\\x87", "16@19:\\x00"}},
        LexCase{"Styles", "l1 m6 l7", {"30@1:\\x01", "30@4:\\x0C", "1@7:l7", "16@9:\\x00"}},
        LexCase{"Operators", "^'*/-,:;=", {"8@1:'", "8@2:'", "9@3:*", "9@4:/", "10@5:-", "15@6:,", "21@7::",
                                           "20@8:;", "17@9:=", "16@10:\\x00"}},
        LexCase{"StrayCharacter", "a # b", {"1@1:a", "6@3:#"}},
        LexCase{"Numbers", "1.5E-3 .5 7. 1e+2", {"7@1:1.5e-3", "7@8:.5", "7@11:7.", "7@14:1e+2", "16@18:\\x00"}},
        LexCase{"NumberTooLarge", "1e999", {"6@1:1e999"}},
        LexCase{"NumberWithoutExponentDigits", "1e", {"6@1:1e"}},
        LexCase{"LongNumberTextCut", Digits28, {"7@1:" + Digits28.substr(0, 25), "16@29:\\x00"}},
        LexCase{"LongNameTextCut", Name30 + " x", {"1@1:" + Name30.substr(0, 25), "1@32:x", "16@33:\\x00"}}),
    [](const testing::TestParamInfo<LexCase>& info) { return std::string(info.param.name); });

TEST(Lexer, ErrorCodesOfBadTokens) {
    struct Row { const char* text; int code; };
    for (Row row : {Row{"(* open", 3}, Row{"#", 4}, Row{"1e999", 2}, Row{">>", 20}, Row{"\xE9", 4}}) {
        Lexer lx;
        lx.StartReading(std::string(row.text) + "\r\n");
        lx.GetToken();
        EXPECT_EQ(lx.TokenKind, TkError) << row.text;
        EXPECT_EQ(lx.ErrorCode, row.code) << row.text;
    }
}

TEST(Lexer, LongNumbersAreConvertedFromTheirWholeText) {
    Lexer lx;
    lx.StartReading(Digits28 + " 1e-400\r\n");
    lx.GetToken();
    ASSERT_EQ(lx.TokenKind, TkNumber);
    EXPECT_DOUBLE_EQ(lx.TokenValue, 1234567890123456789012345678.0);
    lx.GetToken();  // too small to hold: zero, not an error
    ASSERT_EQ(lx.TokenKind, TkNumber);
    EXPECT_EQ(lx.TokenValue, 0.0);
}

TEST(Lexer, NamesKeepAllTheirCharacters) {
    Lexer lx;
    lx.StartReading(Name30 + "\r\n");
    lx.GetToken();
    EXPECT_EQ(lx.NameText, Name30);
    EXPECT_EQ(lx.LastName, Name30.substr(0, 25));
}

TEST(Lexer, EndOfTextRepeatsAndSkipsNothingAfterANul) {
    Lexer lx;
    lx.StartReading(std::string("a", 1) + std::string(1, '\0') + "b\r\n");
    lx.GetToken();
    EXPECT_EQ(lx.TokenKind, TkName);
    for (int i = 0; i < 3; ++i) {
        lx.GetToken();
        EXPECT_EQ(lx.TokenKind, TkEnd);
        EXPECT_EQ(lx.TokenStart, 2);
    }
}

TEST(Lexer, CheckTokenAndXGetToken) {
    Lexer lx;
    lx.StartReading("(* c *) ; = x\r\n");
    lx.GetToken();
    lx.xGetToken();
    EXPECT_EQ(lx.TokenKind, TkEquals);
    EXPECT_FALSE(lx.CheckToken(TkEquals, 5));
    EXPECT_EQ(lx.TokenKind, TkName);
    EXPECT_TRUE(lx.CheckToken(TkEquals, 5));
    EXPECT_EQ(lx.ErrorCode, 5);
    EXPECT_EQ(lx.TokenKind, TkName);  // a failed check reads nothing
}

}  // namespace
