// The output sections of a script: each section's variables, read into the program in order.
#include "compiler/ScriptCompiler.h"

#include <algorithm>
#include <cmath>

namespace tavlix {

int ScriptCompiler::findOutputRecord() const
{
    const NameEntry* e = expressions_.names().find(lexer_.nameText());
    if (!e || (e->kind != NameKind::Function && e->kind != NameKind::Independent))
        return -1;
    return e->index;
}

int ScriptCompiler::findOutputTable() const
{
    const NameEntry* e = expressions_.names().find(lexer_.nameText());
    return e && e->kind == NameKind::Table ? e->index : 0;
}

bool ScriptCompiler::failUnknownOutput(bool unknown)
{
    // A table stands for its values only at a t: the hint shows how to ask for them.
    outputNamesTable_ = unknown && findOutputTable() > 0;
    return lexer_.failIf(unknown, ScriptError::UnknownName);
}

// outputs = { ("tabelvariable" tableentries | "grafvariable" graphentries) }
void ScriptCompiler::parseOutputSections(const std::vector<std::string>& lines, std::vector<OutputSection>& sections)
{
    CompiledScript& s = model_->script;
    for (;;) {
        const TokenKind kind = lexer_.tokenKind();
        if (kind != TokenKind::GraphOutputKeyword && kind != TokenKind::TableOutputKeyword)
            return;
        s.outputs.assign(1, OutputVariable{});
        s.outputCount = 0;
        lexer_.nextToken();
        lexer_.skipComments();
        const bool graph = kind == TokenKind::GraphOutputKeyword;
        if (graph)
            parseGraphOutput();
        else
            parseTableOutput();
        if (lexer_.failed())
            return;
        sections.push_back({graph, std::move(s.outputs), placeHere(lines)});
    }
}

bool ScriptCompiler::tableEntryEnds() const
{
    const TokenKind kind = lexer_.tokenKind();
    return kind == TokenKind::Comma || kind == TokenKind::End || kind == TokenKind::GraphOutputKeyword ||
           kind == TokenKind::TableOutputKeyword || kind == TokenKind::Comment;
}

// Reads an output entry's first name into a fresh output variable; nullptr (with the error set) when there
// is no room or the name is no function, variable or t.
OutputVariable* ScriptCompiler::startOutputEntry()
{
    CompiledScript& s = model_->script;
    if (lexer_.failIf(s.outputCount == MaxOutputs, ScriptError::TooManyNames))
        return nullptr;
    OutputVariable& out = growTo(s.outputs, ++s.outputCount);
    const int r = findOutputRecord();
    if (failUnknownOutput(r < 0))
        return nullptr;
    out = OutputVariable{};
    out.xRecord = r;
    out.xName = lexer_.writtenName();
    out.wasUndefined = true;
    lexer_.nextToken();
    return &out;
}

// tableentries = { name [ ":" decimals ] [ "," ] }
void ScriptCompiler::parseTableOutput()
{
    while (lexer_.tokenKind() == TokenKind::Name) {
        OutputVariable* const out = startOutputEntry();
        if (!out)
            return;
        if (lexer_.tokenKind() == TokenKind::Colon) {
            lexer_.nextToken();
            const double v = lexer_.tokenValue();
            const bool decimals = lexer_.tokenKind() == TokenKind::Number && v >= 0 && v <= 6 && v == std::floor(v);
            if (lexer_.failIf(!decimals, ScriptError::WholeNumberExpected))
                return;
            out->decimals = static_cast<std::uint8_t>(v);
            lexer_.nextToken();
        }
        if (lexer_.failIf(!tableEntryEnds(), ScriptError::CommaExpected))
            return;
        if (lexer_.tokenKind() == TokenKind::Comma) {
            lexer_.nextToken();
            if (lexer_.failIf(lexer_.tokenKind() != TokenKind::Name, ScriptError::DataNameExpected))
                return;
        }
        lexer_.skipComments();
    }
}

// graphentries = { name "," ( name | tablename ) "," style }
void ScriptCompiler::parseGraphOutput()
{
    while (lexer_.tokenKind() == TokenKind::Name) {
        OutputVariable* const out = startOutputEntry();
        if (!out)
            return;
        if (!lexer_.expect(TokenKind::Comma, ScriptError::CommaExpected))
            return;
        if (lexer_.failIf(lexer_.tokenKind() != TokenKind::Name, ScriptError::DataNameExpected))
            return;
        const int y = findOutputRecord();
        // t against a table: the table's own points, for measured data.
        out->table = out->xRecord == 0 && y < 0 ? findOutputTable() : 0;
        if (!out->table && failUnknownOutput(y < 0))
            return;
        out->yRecord = std::max(y, 0);
        out->yName = lexer_.writtenName();
        lexer_.nextToken();
        if (!lexer_.expect(TokenKind::Comma, ScriptError::CommaExpected))
            return;
        if (lexer_.failIf(lexer_.tokenKind() != TokenKind::Style, ScriptError::DataNameExpected))
            return;
        out->style = static_cast<CurveStyle>(lexer_.tokenCode());
        lexer_.nextToken();
        lexer_.skipComments();
    }
}

}  // namespace tavlix
