// Looking a record up by a key the way a walk from a table's first record finds it: the first record, in
// the table's walking order, whose key equals the one sought. The walk is made once, when the first lookup
// needs it (a table that is never looked up is never read), and remembers record numbers to go back to.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "storage/storage.h"

namespace run {

template <typename Clave>
class PrimerRegistro {
 public:
  using Lector = Clave (*)(storage::Table&);
  PrimerRegistro(storage::Table& tabla, Lector clave) : tabla_(tabla), clave_(clave) {}

  // Goes to the first record whose key equals `buscada`; false, and no move, when there is none.
  bool Buscar(const Clave& buscada) {
    if (!registros_) {
      registros_.emplace();
      for (tabla_.First(); !tabla_.Eof(); tabla_.Next()) registros_->try_emplace(clave_(tabla_), tabla_.RecNo());
    }
    auto encontrado = registros_->find(buscada);
    if (encontrado == registros_->end()) return false;
    tabla_.GoToRecord(encontrado->second);
    return true;
  }

 private:
  storage::Table& tabla_;
  Lector clave_;
  std::optional<std::map<Clave, std::uint32_t>> registros_;
};

}  // namespace run
