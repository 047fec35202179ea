#pragma once

#include "logoerror.h"
#include "logotoken.h"

#include <QString>
#include <vector>

// Splits a LOGO text into tokens. Words are separated by white space
// (full-width spaces too); [ ] ( ) and the operators + - * / = < > stand on
// their own even when written without spaces; ";" starts a comment that runs
// to the end of the line. Full-width letters and digits read as their
// ordinary forms. Returns false and fills `error` for a text that cannot be
// split (a lone ":" or a malformed number).
bool tokenizeLogo(const QString& text, std::vector<LogoToken>* tokens, LogoError* error);
