// A message with its values put in: in order, a value's own "%" left as it is, and a text without a mark
// kept whole instead of failing.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "run/mensajes.h"

namespace {

TEST(ConValores, PutsEachValueAtItsMark) {
  struct Caso {
    const char* texto;
    std::vector<std::string_view> valores;  // one or two
    const char* esperado;
  } casos[] = {
      {"Los datos de %1 no son de %2.", {"C:\\A", "C:\\B"}, "Los datos de C:\\A no son de C:\\B."},
      {"%1 y %2", {"100%2", "dos"}, "100%2 y dos"},                  // a value's own mark is not filled
      {"No se ha podido abrir %1.", {"C:\\50%1\\a.html"}, "No se ha podido abrir C:\\50%1\\a.html."},
      {"Sin marca alguna.", {"valor"}, "Sin marca alguna."},       // no mark: the text as it is
      {"Solo %1.", {"uno", "dos"}, "Solo uno."},                     // more values than marks
      {"%2 antes que %1", {"uno", "dos"}, "%2 antes que uno"},      // each mark looked for after the last
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.texto);
    const std::string hecho = caso.valores.size() == 1
                                  ? run::ConValores(caso.texto, {caso.valores[0]})
                                  : run::ConValores(caso.texto, {caso.valores[0], caso.valores[1]});
    EXPECT_EQ(hecho, caso.esperado);
  }
}

}  // namespace
