#pragma once
// The order of picture names (without their extensions) as a reader
// expects it: runs of digits compare as numbers ("2" before "10"), letters
// by the user's collation, so that an accented letter sorts beside its
// plain one.
#include <string>

namespace mem::make {

// Collates with the locale of LC_COLLATE when it is a language's own; under
// the C locale, which knows only byte order, letter case and the accents of
// Latin letters are set aside first. Names that compare equal so fall back
// to byte order, so the order is total.
bool natural_less(const std::string& a, const std::string& b);

}  // namespace mem::make
