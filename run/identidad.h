// A teacher's identity number (D.N.I.) as ESCOLAN's tables and PROFT keep it: a whole number, 0 when the
// teacher has none (an empty field reads as 0). ESCOLAN's timetables name a teacher by it, so the import
// stops on a teacher without one.
#pragma once

#include <cstdint>

namespace run {

inline bool TieneDni(std::int32_t dni) { return dni != 0; }

}  // namespace run
