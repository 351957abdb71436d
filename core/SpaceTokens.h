// Expansion of the space tokens that SendKeystroke accepts on top of the SendKeys syntax:
// {space}, {sp}, {space N}, {sp N} (word in any ASCII case, N one or two digits) become spaces.
// Portable and pure; the result goes to the key parser (KeyParser.h).
#pragma once

#include <string>

namespace ombrisk {

enum class SpaceTokenStatus { Ok, NegativeCount };

// Expands the tokens in place: first every {space} and {sp} becomes one space, then passes of
// SpaceTokenPass run while "{sp" remains and a pass changes something. Text that no rule can
// change ({space 100}, {spare}) is left for the key parser. NegativeCount when a count reads
// negative (the caller raises "invalid procedure call"); `keys` is then partly expanded.
SpaceTokenStatus ExpandSpaceTokens(std::u16string& keys);

// One pass of the four count rules, in order: {space D}, {space DD}, {sp D}, {sp DD}. A rule
// applies when its token occurs anywhere, but takes its count from the one or two characters
// after the FIRST "{space " / "{sp " and replaces the first token spelled with them (if any) by
// that many spaces. One character: its digit value, else 0. Two characters: blanks skipped, an
// optional sign, then the digits they begin with, else 0. Returns whether `keys` changed; sets
// `status` to NegativeCount and stops on a negative count. Every change removes a "{", so
// repeated passes end.
bool SpaceTokenPass(std::u16string& keys, SpaceTokenStatus& status);

}  // namespace ombrisk
