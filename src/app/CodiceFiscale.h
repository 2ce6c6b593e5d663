#pragma once

#include <QString>

#include <cstdint>

namespace ondavia {

// ControllaCF could not search the municipality table (not loaded, or the search failed).
inline constexpr std::int16_t CFNonVerificabile = -1;

// Checks a code typed as a fiscal code. 11 characters: a VAT number, valid when all eleven are digits 0-9
// (no check digit is tested). Any other length: judged on its first 16 characters, upper-cased and
// padded with blanks, as a personal fiscal code: check character, then the birth place's cadastral
// code in rsComuniCF, also in its omocode forms.
// Returns 0 when valid, 1 when not valid, the character code (65-90, or below 65 when the first 15
// characters hold something other than letters and digits) of the check character the code should
// end with when only that is wrong, and CFNonVerificabile, with the reason in `errore`, when
// rsComuniCF could not be searched. Every result but 0 means "not valid".
std::int16_t ControllaCF(const QString& codice, QString* errore = nullptr);

// True when the four characters, after turning omocode letters (L M N P Q R S T U V for 0-9) back into
// digits from the last position to the first, one at a time and keeping each replacement, name a row
// of rsComuniCF. False when not found or when the search failed (reason in `errore`).
bool ControllaOmocodia(const QString& catastale, QString* errore = nullptr);

} // namespace ondavia
