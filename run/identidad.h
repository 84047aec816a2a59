// A teacher's identity number (D.N.I.) as ESCOLAN's tables and PROFT keep it: a whole number, 0 when the
// teacher has none (an empty field reads as 0). ESCOLAN's timetables name a teacher by it, so the import
// stops on a teacher without one.
#pragma once

#include <cstdint>

namespace run {

struct TextoPorGuardar;

// The largest identity number: nine digits.
inline constexpr std::int32_t kDniMayor = 999999999;

inline bool TieneDni(std::int32_t dni) { return dni != 0; }

// Whether `dni` may be stored as a teacher's identity number: from 1 to kDniMayor, or 0 for none.
inline bool DniAdmitido(std::int32_t dni) { return dni >= 0 && dni <= kDniMayor; }

// A text refused as an identity number: %1 is the text, %2 the field; the range is DniAdmitido's, spelt out
// as the manual quotes it.
inline constexpr const char* kMensajeDniNoAdmitido =
    "'%1' no es un D.N.I. válido para el campo '%2': escriba un número entero de 1 a 999999999, o déjelo vacío "
    "si el profesor no tiene.";

// The rule of a column of identity numbers (ColumnaDatos::regla, run/revision.h), the same for the review
// dialog's grid and the command line's answers: a whole number is refused, with kMensajeDniNoAdmitido,
// unless DniAdmitido; an empty text is stored as none. A text that is no whole number ("12-3") is left to the
// table layer, which refuses it with its own message.
void ExigirDniAdmitido(const TextoPorGuardar& texto);

}  // namespace run
