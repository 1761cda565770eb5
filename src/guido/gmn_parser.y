/* The GUIDO grammar: a segment of sequences or a single sequence; notes, chords, tags with arguments and ranges. */
%require "3.8"
%define api.pure full
%define api.prefix {gmn_}
%define api.value.type {notavera::GmnTokenValue}
%locations
%expect 0
%param {yyscan_t scanner}
%parse-param {notavera::GmnParseState& state}

%code requires {
#ifndef YY_TYPEDEF_YY_SCANNER_T
#define YY_TYPEDEF_YY_SCANNER_T
typedef void* yyscan_t;
#endif
#include "guido/gmn_parse_state.h"
}

%code provides {
// The generated scanner's interface speaks of YYSTYPE and YYLTYPE.
#define YYSTYPE GMN_STYPE
#define YYLTYPE GMN_LTYPE
int gmn_lex(GMN_STYPE* value, GMN_LTYPE* location, yyscan_t scanner);
void gmn_error(GMN_LTYPE* location, yyscan_t scanner, notavera::GmnParseState& state, const char* message);
}

%code {
// The parser's stack is a fixed array on the machine stack: it never allocates, and nesting deeper than any
// real score reports a stack overflow instead.
#define YYINITDEPTH 1000
#define YYMAXDEPTH 1000

namespace {
notavera::GmnSourcePosition startOf(const GMN_LTYPE& loc) { return {loc.first_line, loc.first_column}; }
}
}

%token TAGNAME NOTENAME STRING WORD UNSIGNED SIGNED INTEGER REAL

%%

piece
    : segment
    | { state.beginSegment(); } sequence { state.endSegment(); }
    ;

segment
    : '{' { state.beginSegment(); } sequences '}' { state.endSegment(); }
    ;

sequences
    : %empty
    | sequence_list
    ;

sequence_list
    : sequence
    | sequence_list ',' sequence
    ;

sequence
    : '[' { state.beginSequence(); } symbols ']' { state.endSequence(); }
    ;

symbols
    : %empty
    | symbols symbol
    ;

symbol
    : note
    | chord
    | sequence_tag
    | '|' { state.bar(); }
    ;

chord
    : '{' { state.beginChord(); } chord_members '}' { state.endChord(); }
    ;

chord_members
    : chord_member
    | chord_members ',' chord_member
    ;

chord_member
    : %empty
    | chord_member chord_symbol
    ;

chord_symbol
    : note
    | chord_tag
    ;

note
    : NOTENAME { state.beginNote(state.text($1.text), startOf(@1)); } accidentals octave duration dots
      { state.endNote(); }
    ;

accidentals
    : %empty
    | accidentals '#' { state.addAccidental(1); }
    | accidentals '&' { state.addAccidental(-1); }
    ;

octave
    : %empty
    | UNSIGNED { state.setOctave($1.integer); }
    | SIGNED { state.setOctave($1.integer); }
    ;

duration
    : %empty
    | '*' UNSIGNED '/' UNSIGNED { if (!state.setDuration($2.integer, $4.integer, startOf(@4))) YYABORT; }
    | '*' UNSIGNED { state.setDuration($2.integer, 1, startOf(@2)); }
    | '/' UNSIGNED { if (!state.setDuration(1, $2.integer, startOf(@2))) YYABORT; }
    ;

dots
    : %empty
    | '.' { state.setDots(1); }
    | '.' '.' { state.setDots(2); }
    ;

sequence_tag
    : tag_head sequence_range { state.endTag(); }
    ;

sequence_range
    : %empty
    | '(' symbols ')'
    ;

chord_tag
    : tag_head chord_range { state.endTag(); }
    ;

chord_range
    : %empty
    | '(' chord_member ')'
    ;

tag_head
    : TAGNAME tag_number { state.beginTag(state.text($1.text), $2.integer); } tag_arguments
      { state.endArguments(); }
    ;

tag_number
    : %empty { $$.integer = 0; }
    | ':' UNSIGNED { $$.integer = $2.integer; }
    ;

tag_arguments
    : %empty
    | '<' '>'
    | '<' argument_list '>'
    ;

argument_list
    : argument
    | argument_list ',' argument
    ;

argument
    : value { state.addArgument(std::string()); }
    | WORD '=' value { state.addArgument(state.text($1.text)); }
    ;

value
    : INTEGER { state.setIntValue($1.integer); } unit
    | REAL { state.setRealValue($1.real); } unit
    | STRING { state.setStringValue(state.text($1.text)); }
    | WORD { state.setStringValue(state.text($1.text)); }
    ;

unit
    : %empty
    | WORD { state.setUnit(state.text($1.text)); }
    ;

%%

void gmn_error(GMN_LTYPE* location, yyscan_t, notavera::GmnParseState& state, const char* message) {
    // The reader's users know these failures by their traditional names.
    const std::string text = std::string(message) == "memory exhausted" ? "parser stack overflow" : "parse error";
    state.reportFailure(text, startOf(*location));
}
