#pragma once

#include <QString>
#include <array>

// A card text holding a simple formula is drawn in six pieces so that its
// subscripts can be lowered and its charge raised:
//   piece[0] main text before the first subscript (or the whole text)
//   piece[1] first subscript, one digit "2".."6"
//   piece[2] main text between the subscripts
//   piece[3] second subscript
//   piece[4] charge as shown: "+", "2+", "3+", "-", "2-", "3-"
//   piece[5] the rest
// Empty pieces are not drawn.
struct TextPieces {
    std::array<QString, 6> piece;
};

// Cuts a card text into its six pieces. Charges are typed after the formula as
// "+1", "+2", "+3", "-1", "-2", "-3" or a lone "+" or "-" (never as the first
// character); subscripts are digits 2 to 6 after a letter, in a text starting
// with a capital letter. Texts that are no formula stay whole in piece[0].
TextPieces cutCardText(const QString& S);
