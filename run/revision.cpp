#include "run/revision.h"

#include <utility>

namespace run {

Revision::Revision(storage::Engine& engine, TipoRevision tipo, std::string nombreTabla,
                   void (*dirigir)(storage::Table&), std::vector<ColumnaDatos> columnas)
    : engine_(engine), tipo_(tipo), tabla_(engine, std::move(nombreTabla)), columnas_(std::move(columnas)) {
  dirigir(tabla_);
  tabla_.Open();
}

}  // namespace run
