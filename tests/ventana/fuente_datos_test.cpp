// The review dialogs' grid and navigator without widgets, on real tables of a temporary drive C:: the
// rows and the current record, the navigator's moves and which buttons apply, what is posted as
// cells are written, moved from, posted and cancelled, a refused value, and a table without records.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "ventana/fuente_datos.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"

namespace {

using ventana::AccionNavegador;
using ventana::FuenteDatos;
using testing_support::Fila;
using testing_support::Filas;

constexpr const char* kProft = "C:\\HTEMP\\PROFT.DBF";
constexpr int kDni = 0;
constexpr int kAbrev = 1;
constexpr int kNombre = 2;  // shown, not editable

// What the window over the source is told, with the rows it counts at that moment.
class Registro : public FuenteDatos::Observador {
 public:
  explicit Registro(const FuenteDatos*& fuente) : fuente_(fuente) {}
  void FilasACambiar() override { avisos.push_back("rows changing from " + std::to_string(fuente_->Filas())); }
  void FilasCambiadas() override { avisos.push_back("rows changed to " + std::to_string(fuente_->Filas())); }
  void FilaCambiada(int fila) override { avisos.push_back("row " + std::to_string(fila)); }
  void CursorCambiado(int fila) override { avisos.push_back("cursor " + std::to_string(fila)); }
  void EstadoCambiado() override {}
  void Fallo(const std::string& mensaje) override { fallos.push_back(mensaje); }

  std::vector<std::string> avisos;
  std::vector<std::string> fallos;

 private:
  const FuenteDatos*& fuente_;
};

// A PROFT of `profesores` teachers P01, P02... with DNI 1001, 1002..., opened as a review dialog opens it;
// the texts of ABREV keep `reglaAbrev`, if any.
class FuenteDatosTest : public ::testing::Test {
 protected:
  void Abrir(int profesores, run::ReglaDeTexto reglaAbrev = {}) {
    Filas filas;
    for (int i = 1; i <= profesores; ++i) filas.push_back({Abreviatura(i), std::to_string(1000 + i)});
    drive_.MakeHostFolder("HTEMP");
    testing_support::EscribirProft(engine_, filas);
    tabla_.SetTableName(kProft);
    tabla_.Open();
    fuente_ = std::make_unique<FuenteDatos>(
        engine_, tabla_,
        std::vector<run::ColumnaDatos>{
            {"DNI", 10, "DNI"}, {"ABREV", 4, "ABREV", true, std::move(reglaAbrev)}, {"NOMBRE", 40, "NOMBRE", false}});
    vista_ = fuente_.get();
    fuente_->PonerObservador(&registro_);
  }

  static std::string Abreviatura(int i) { return (i < 10 ? "P0" : "P") + std::to_string(i); }

  // The DNIs as another table object of the process reads them: only what was posted counts.
  Fila DnisPublicados() {
    Fila dnis;
    for (const Fila& fila : testing_support::LeerTabla(engine_, kProft, {"DNI"})) dnis.push_back(fila[0]);
    return dnis;
  }

  // The navigator's buttons that apply now, by their names.
  std::set<std::string> Aplicables() const {
    std::set<std::string> nombres;
    for (const ventana::BotonNavegador& boton : ventana::kBotonesNavegador) {
      if (fuente_->Aplicable(boton.accion)) nombres.insert(boton.sufijo);
    }
    return nombres;
  }

  testing_support::TemporaryDrive drive_;
  storage::Engine engine_{'.'};
  storage::Table tabla_{engine_, "wwTableProft"};
  std::unique_ptr<FuenteDatos> fuente_;
  const FuenteDatos* vista_ = nullptr;
  Registro registro_{vista_};
};

// ---------------------------------------------------------------------------------------------------------
// Rows

TEST_F(FuenteDatosTest, TheRowsAreTheRecordsInTheTablesWalkOrder) {
  drive_.MakeHostFolder("HTEMP/VALENCIA");
  const std::string plantilla = "C:\\HTEMP\\VALENCIA\\PLANTILLA.DBF";
  testing_support::CrearTabla(engine_, plantilla,
                              {{"HORA", storage::DataType::ftInteger}, {"HORAINI", storage::DataType::ftString, 5}},
                              {{"3", "10:00"}, {"1", "08:00"}, {"2", "09:00"}}, {"HORA"});
  tabla_.SetTableName(plantilla);
  tabla_.SetIndexName("HORA");
  tabla_.Open();
  FuenteDatos fuente(engine_, tabla_, {{"HORA", 7, "HORA", false}, {"HORAINI", 20, "HORA INICIO CLASE"}});
  ASSERT_EQ(fuente.Filas(), 3);
  EXPECT_EQ(fuente.PrimeraColumnaEditable(), 1);
  for (int fila = 0; fila < 3; ++fila) EXPECT_EQ(fuente.Texto(fila, 0), std::to_string(fila + 1));

  // Reading other rows never moves the table: the pending record of the current one stays pending.
  ASSERT_TRUE(fuente.IrAFila(1));
  ASSERT_TRUE(fuente.EscribirCelda(1, "09:05"));
  EXPECT_EQ(fuente.Texto(0, 1), "08:00");
  EXPECT_EQ(fuente.Texto(2, 1), "10:00");
  EXPECT_EQ(fuente.Texto(1, 1), "09:05");
  EXPECT_TRUE(fuente.Editando());
  EXPECT_EQ(tabla_.AsString("HORA"), "2");
  ASSERT_TRUE(fuente.Publicar());
  EXPECT_EQ(testing_support::LeerTabla(engine_, plantilla, {"HORAINI"}), (Filas{{"10:00"}, {"08:00"}, {"09:05"}}));
}

// ---------------------------------------------------------------------------------------------------------
// The navigator

struct Recorrido {
  const char* nombre;
  std::vector<AccionNavegador> acciones;
  int fila;
  std::set<std::string> aplicables;
};

TEST_F(FuenteDatosTest, TheNavigatorMovesAndSaysWhichButtonsApply) {
  using A = AccionNavegador;
  const std::set<std::string> enMedio = {"First", "PriorPage", "Prior", "Next", "NextPage", "Last", "Edit", "Refresh"};
  const std::set<std::string> alPrincipio = {"Next", "NextPage", "Last", "Edit", "Refresh"};
  const std::set<std::string> alFinal = {"First", "PriorPage", "Prior", "Edit", "Refresh"};
  const std::vector<Recorrido> recorridos = {
      {"opened", {}, 0, alPrincipio},
      {"next", {A::kSiguiente}, 1, enMedio},
      {"10 forward", {A::kPaginaSiguiente}, 10, enMedio},
      {"10 forward stops at the last", {A::kUltimo, A::kAnterior, A::kPaginaSiguiente}, 24, alFinal},
      {"10 back", {A::kUltimo, A::kPaginaAnterior}, 14, enMedio},
      {"10 back stops at the first", {A::kSiguiente, A::kSiguiente, A::kPaginaAnterior}, 0, alPrincipio},
      {"first", {A::kPaginaSiguiente, A::kPrimero}, 0, alPrincipio},
      {"prior", {A::kUltimo, A::kAnterior}, 23, enMedio},
      {"edit", {A::kSiguiente, A::kEditar}, 1,
       {"First", "PriorPage", "Prior", "Next", "NextPage", "Last", "Post", "Cancel", "Refresh"}},
      {"post", {A::kEditar, A::kPublicar}, 0, alPrincipio},
      {"cancel", {A::kEditar, A::kCancelar}, 0, alPrincipio},
      {"refresh keeps the record", {A::kSiguiente, A::kSiguiente, A::kReleer}, 2, enMedio},
  };
  Abrir(25);
  for (const Recorrido& recorrido : recorridos) {
    SCOPED_TRACE(recorrido.nombre);
    ASSERT_TRUE(fuente_->IrAFila(0));
    fuente_->Cancelar();
    for (AccionNavegador accion : recorrido.acciones) EXPECT_TRUE(fuente_->Ejecutar(accion));
    EXPECT_EQ(fuente_->FilaActual(), recorrido.fila);
    EXPECT_EQ(tabla_.AsString("ABREV"), Abreviatura(recorrido.fila + 1));  // the table's current record
    EXPECT_EQ(Aplicables(), recorrido.aplicables);
  }
  // A button that does not apply does nothing.
  ASSERT_TRUE(fuente_->IrAFila(0));
  EXPECT_FALSE(fuente_->Ejecutar(AccionNavegador::kAnterior));
  EXPECT_FALSE(fuente_->Ejecutar(AccionNavegador::kPublicar));
  EXPECT_EQ(fuente_->FilaActual(), 0);
  EXPECT_TRUE(registro_.fallos.empty());
}

// ---------------------------------------------------------------------------------------------------------
// What is posted

struct Edicion {
  const char* nombre;
  void (*despues)(FuenteDatos&);  // after "12345678" was written into the second teacher's DNI
  Fila dnis;                      // what the other table objects read afterwards
  bool editando;
};

TEST_F(FuenteDatosTest, WhatIsPosted) {
  const Fila antes = {"1001", "1002", "1003"};
  const Fila cambiado = {"1001", "12345678", "1003"};
  const std::vector<Edicion> ediciones = {
      {"nothing more: the record is only pending", [](FuenteDatos&) {}, antes, true},
      {"posted", [](FuenteDatos& f) { f.Publicar(); }, cambiado, false},
      {"moved from", [](FuenteDatos& f) { f.IrAFila(2); }, cambiado, false},
      {"moved from with the navigator", [](FuenteDatos& f) { f.Ejecutar(AccionNavegador::kAnterior); }, cambiado,
       false},
      {"refreshed", [](FuenteDatos& f) { f.Releer(); }, cambiado, false},
      {"cancelled", [](FuenteDatos& f) { f.Cancelar(); }, antes, false},
      {"cancelled, then moved from", [](FuenteDatos& f) { f.Cancelar(); f.IrAFila(0); }, antes, false},
      {"emptied and posted",
       [](FuenteDatos& f) {
         f.EscribirCelda(kDni, "");
         f.Publicar();
       },
       {"1001", "", "1003"}, false},
  };
  Abrir(3);
  for (const Edicion& edicion : ediciones) {
    SCOPED_TRACE(edicion.nombre);
    fuente_->Cancelar();
    ASSERT_TRUE(fuente_->IrAFila(1));
    ASSERT_FALSE(fuente_->Editando());
    ASSERT_TRUE(fuente_->EscribirCelda(kDni, "12345678"));
    EXPECT_TRUE(fuente_->Editando());  // writing a cell put the record into edit mode
    edicion.despues(*fuente_);
    EXPECT_EQ(fuente_->Editando(), edicion.editando);
    EXPECT_EQ(DnisPublicados(), edicion.dnis);
    // Back to the file as it was.
    fuente_->Cancelar();
    ASSERT_TRUE(fuente_->IrAFila(1));
    ASSERT_TRUE(fuente_->EscribirCelda(kDni, "1002"));
    ASSERT_TRUE(fuente_->Publicar());
  }
  EXPECT_TRUE(registro_.fallos.empty());
}

TEST_F(FuenteDatosTest, AnUnchangedTextIsNotWrittenAndAReadOnlyColumnNever) {
  Abrir(3);
  EXPECT_TRUE(fuente_->EscribirCelda(kAbrev, "P01"));
  EXPECT_FALSE(fuente_->Editando());
  EXPECT_FALSE(fuente_->EscribirCelda(kNombre, "OTRO"));
  EXPECT_FALSE(fuente_->Editando());
  EXPECT_EQ(fuente_->Texto(0, kNombre), "Profesor P01");
  // An edited record left unchanged is dropped by a move, not posted.
  ASSERT_TRUE(fuente_->Editar());
  ASSERT_TRUE(fuente_->IrAFila(1));
  EXPECT_FALSE(fuente_->Editando());
  EXPECT_FALSE(tabla_.Modified());
}

// ---------------------------------------------------------------------------------------------------------
// A refused value

struct Disparo {
  const char* nombre;
  bool (*accion)(FuenteDatos&);
};

TEST_F(FuenteDatosTest, ARefusedValueKeepsTheTextTheRecordAndTheRow) {
  const std::vector<Disparo> disparos = {
      {"post", [](FuenteDatos& f) { return f.Publicar(); }},
      {"navigator's post", [](FuenteDatos& f) { return f.Ejecutar(AccionNavegador::kPublicar); }},
      {"another row", [](FuenteDatos& f) { return f.IrAFila(2); }},
      {"down", [](FuenteDatos& f) { return f.Desplazar(1); }},
      {"navigator's next", [](FuenteDatos& f) { return f.Ejecutar(AccionNavegador::kSiguiente); }},
      {"navigator's last", [](FuenteDatos& f) { return f.Ejecutar(AccionNavegador::kUltimo); }},
      {"refresh", [](FuenteDatos& f) { return f.Releer(); }},
  };
  Abrir(3);
  for (const char* texto : {"12-34", "-", "1-"}) {
    const std::string mensaje = "'" + std::string(texto) + "' no es un valor entero válido para el campo 'DNI'";
    for (const Disparo& disparo : disparos) {
      SCOPED_TRACE(std::string(texto) + ", " + disparo.nombre);
      registro_.fallos.clear();
      ASSERT_TRUE(fuente_->IrAFila(1));
      ASSERT_TRUE(fuente_->EscribirCelda(kAbrev, "NUEV"));  // a change of the same record, accepted

      EXPECT_FALSE(fuente_->EscribirCelda(kDni, texto));
      EXPECT_EQ(registro_.fallos, std::vector<std::string>({mensaje}));
      EXPECT_FALSE(disparo.accion(*fuente_));
      EXPECT_EQ(registro_.fallos, std::vector<std::string>({mensaje, mensaje}));  // each attempt says why
      EXPECT_EQ(fuente_->FilaActual(), 1);
      EXPECT_TRUE(fuente_->Editando());
      EXPECT_EQ(fuente_->ColumnaRechazada(), kDni);
      EXPECT_EQ(fuente_->Texto(1, kDni), texto);
      EXPECT_EQ(fuente_->Texto(1, kAbrev), "NUEV");
      EXPECT_EQ(Aplicables().count("Post"), 1U);
      EXPECT_EQ(DnisPublicados(), (Fila{"1001", "1002", "1003"}));

      // Corrected, the value is taken and what was refused goes on.
      EXPECT_TRUE(fuente_->EscribirCelda(kDni, "4321"));
      EXPECT_FALSE(fuente_->ColumnaRechazada());
      EXPECT_TRUE(disparo.accion(*fuente_));
      EXPECT_EQ(DnisPublicados(), (Fila{"1001", "4321", "1003"}));
      EXPECT_EQ(registro_.fallos.size(), 2U);

      // Back to the file as it was.
      fuente_->Cancelar();
      ASSERT_TRUE(fuente_->IrAFila(1));
      ASSERT_TRUE(fuente_->EscribirCelda(kDni, "1002"));
      ASSERT_TRUE(fuente_->EscribirCelda(kAbrev, "P02"));
      ASSERT_TRUE(fuente_->Publicar());
    }
  }
}

// A rule of the column, asked before the table: what it refuses is kept as the table's refusals are, and
// each attempt to store the record asks it again. It is told the field, the text and the number of the
// record that would take it; a text equal to the field's is not asked about.
TEST_F(FuenteDatosTest, AColumnsRuleRefusesATextAsTheTableDoes) {
  std::vector<std::string> preguntas;
  Abrir(3, [&preguntas](const run::TextoPorGuardar& t) {
    preguntas.push_back(std::string(t.campo) + " '" + std::string(t.texto) + "' " + std::to_string(t.registro));
    if (t.texto.starts_with("X")) throw std::invalid_argument("'" + std::string(t.texto) + "' no vale");
  });
  ASSERT_TRUE(fuente_->IrAFila(1));
  EXPECT_TRUE(fuente_->EscribirCelda(kDni, "77"));  // a column without a rule
  EXPECT_FALSE(fuente_->EscribirCelda(kAbrev, "XY"));
  EXPECT_EQ(registro_.fallos, std::vector<std::string>({"'XY' no vale"}));
  EXPECT_EQ(fuente_->ColumnaRechazada(), kAbrev);
  EXPECT_EQ(fuente_->Texto(1, kAbrev), "XY");
  EXPECT_TRUE(fuente_->Editando());
  EXPECT_FALSE(fuente_->Publicar());
  EXPECT_FALSE(fuente_->IrAFila(2));
  EXPECT_EQ(registro_.fallos.size(), 3U);
  EXPECT_EQ(fuente_->FilaActual(), 1);
  EXPECT_EQ(DnisPublicados(), (Fila{"1001", "1002", "1003"}));

  EXPECT_TRUE(fuente_->EscribirCelda(kAbrev, "P02"));  // the field's own text: the refused one goes unasked
  EXPECT_TRUE(fuente_->EscribirCelda(kAbrev, "NUEV"));
  EXPECT_TRUE(fuente_->Publicar());
  EXPECT_EQ(DnisPublicados(), (Fila{"1001", "77", "1003"}));
  EXPECT_EQ(preguntas, std::vector<std::string>({"ABREV 'XY' 2", "ABREV 'XY' 2", "ABREV 'XY' 2", "ABREV 'NUEV' 2"}));
}

// On a table without records the text goes to a new record, which has no number yet.
TEST_F(FuenteDatosTest, ARuleIsToldANewRecordHasNoNumber) {
  std::vector<std::uint32_t> registros;
  Abrir(0, [&registros](const run::TextoPorGuardar& t) { registros.push_back(t.registro); });
  EXPECT_TRUE(fuente_->EscribirCelda(kAbrev, "P01"));
  EXPECT_TRUE(fuente_->Anadiendo());
  EXPECT_EQ(registros, std::vector<std::uint32_t>({0}));
}

struct Abandono {
  const char* nombre;
  void (*accion)(FuenteDatos&);
  bool editando;  // the record afterwards
};

// A refused text leaves by being dropped (the cell shows its field again, the record is still being
// edited), by writing the field's own text again, or with the record by a cancel.
TEST_F(FuenteDatosTest, ARefusedTextGoesWhenDroppedRewrittenOrCancelled) {
  const std::vector<Abandono> abandonos = {
      {"dropped", [](FuenteDatos& f) { f.DescartarRechazo(); }, true},
      {"the field's text written again", [](FuenteDatos& f) { f.EscribirCelda(kDni, "1002"); }, true},
      {"cancelled", [](FuenteDatos& f) { f.Cancelar(); }, false},
  };
  Abrir(3);
  for (const Abandono& abandono : abandonos) {
    SCOPED_TRACE(abandono.nombre);
    ASSERT_TRUE(fuente_->IrAFila(1));
    ASSERT_FALSE(fuente_->EscribirCelda(kDni, "12-34"));
    abandono.accion(*fuente_);
    EXPECT_FALSE(fuente_->ColumnaRechazada());
    EXPECT_EQ(fuente_->Texto(1, kDni), "1002");
    EXPECT_EQ(fuente_->Editando(), abandono.editando);
    EXPECT_TRUE(fuente_->IrAFila(2));  // nothing holds the cursor any more
    EXPECT_TRUE(fuente_->IrAFila(1));
  }
  EXPECT_EQ(DnisPublicados(), (Fila{"1001", "1002", "1003"}));
}

// ---------------------------------------------------------------------------------------------------------
// A table without records

TEST_F(FuenteDatosTest, EditModeOnATableWithoutRecordsStartsANewOne) {
  Abrir(0);
  EXPECT_EQ(fuente_->Filas(), 0);
  EXPECT_EQ(Aplicables(), (std::set<std::string>{"Edit", "Refresh"}));

  ASSERT_TRUE(fuente_->Ejecutar(AccionNavegador::kEditar));
  EXPECT_EQ(registro_.avisos, (std::vector<std::string>{"rows changing from 0", "rows changed to 1", "cursor 0"}));
  EXPECT_TRUE(fuente_->Anadiendo());
  EXPECT_EQ(fuente_->Registros(), 0);
  EXPECT_EQ(Aplicables(), (std::set<std::string>{"Post", "Cancel", "Refresh"}));

  // Cancelled, the new record goes; written and posted, it is the table's first.
  registro_.avisos.clear();
  fuente_->Cancelar();
  EXPECT_EQ(registro_.avisos, (std::vector<std::string>{"rows changing from 1", "rows changed to 0"}));
  EXPECT_EQ(fuente_->Filas(), 0);
  ASSERT_TRUE(fuente_->EscribirCelda(kAbrev, "NUEV"));
  ASSERT_TRUE(fuente_->EscribirCelda(kDni, "77"));
  ASSERT_TRUE(fuente_->Publicar());
  EXPECT_EQ(fuente_->Filas(), 1);
  EXPECT_EQ(fuente_->Registros(), 1);
  EXPECT_FALSE(fuente_->Editando());
  EXPECT_EQ(DnisPublicados(), (Fila{"77"}));
  EXPECT_TRUE(registro_.fallos.empty());
}

TEST_F(FuenteDatosTest, RefreshReadsRecordsOtherObjectsAddedAndKeepsTheCurrentOne) {
  Abrir(3);
  ASSERT_TRUE(fuente_->IrAFila(2));
  {
    storage::Table otra(engine_);
    otra.SetTableName(kProft);
    otra.Open();
    otra.Append();
    otra.SetAsString("ABREV", "P04");
    otra.Post();
  }
  EXPECT_EQ(fuente_->Filas(), 3);
  registro_.avisos.clear();
  ASSERT_TRUE(fuente_->Releer());
  EXPECT_EQ(registro_.avisos, (std::vector<std::string>{"rows changing from 3", "rows changed to 4", "cursor 2"}));
  EXPECT_EQ(fuente_->Filas(), 4);
  EXPECT_EQ(fuente_->FilaActual(), 2);
  EXPECT_EQ(tabla_.AsString("ABREV"), "P03");
  EXPECT_EQ(fuente_->Texto(3, kAbrev), "P04");
}

// ---------------------------------------------------------------------------------------------------------
// The grid's editing rules, the same in every window

// Three rows of three columns: Tab and Enter go through the cells row by row and stop at either end.
TEST_F(FuenteDatosTest, TheNextCellGoesRowByRowAndStopsAtEitherEnd) {
  Abrir(3);
  using Celda = FuenteDatos::Celda;
  struct Caso {
    Celda desde;
    int paso;
    std::optional<Celda> hasta;
  };
  const std::vector<Caso> casos = {
      {{0, 0}, 1, Celda{0, 1}},  {{0, 2}, 1, Celda{1, 0}},   {{1, 0}, -1, Celda{0, 2}},
      {{0, 0}, -1, std::nullopt}, {{2, 2}, 1, std::nullopt}, {{2, 1}, 1, Celda{2, 2}},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(std::to_string(caso.desde.fila) + "," + std::to_string(caso.desde.columna) + " by " +
                 std::to_string(caso.paso));
    EXPECT_EQ(fuente_->CeldaSiguiente(caso.desde, caso.paso), caso.hasta);
  }
}

// DNI is an integer field, ABREV a text field.
TEST_F(FuenteDatosTest, AnIntegerCellTakesOnlyTheCharactersOfAnInteger) {
  Abrir(1);
  struct Caso {
    int columna;
    std::string texto;
    bool admitido;
  };
  const std::vector<Caso> casos = {
      {kDni, "12345678", true}, {kDni, "-12", true},   {kDni, "+7", true},      {kDni, "12-3", true},
      {kDni, "", true},         {kDni, "12a", false},  {kDni, "1 2", false},    {kDni, "1,5", false},
      {kDni, "1\xC3\xA9", false}, {kDni, "\b", true}, {kAbrev, "GA 2", true}, {kAbrev, "PEÑ", true},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(std::to_string(caso.columna) + " '" + caso.texto + "'");
    EXPECT_EQ(fuente_->TextoAdmitido(caso.columna, caso.texto), caso.admitido);
    bool cadaCaracter = true;
    for (char c : caso.texto) cadaCaracter = cadaCaracter && fuente_->CaracterAdmitido(caso.columna, static_cast<unsigned char>(c));
    EXPECT_EQ(cadaCaracter, caso.admitido);
  }
  EXPECT_FALSE(fuente_->CaracterAdmitido(kDni, U'é'));
  EXPECT_TRUE(fuente_->CaracterAdmitido(kAbrev, U'é'));
}

// Escape drops the refused text: the cell shows its field again, and the record is still being edited.
TEST_F(FuenteDatosTest, EscapeDropsARefusedTextAndKeepsTheRecordInEditMode) {
  Abrir(2);
  ASSERT_TRUE(fuente_->IrAFila(1));
  ASSERT_FALSE(fuente_->EscribirCelda(kDni, "12-3"));
  ASSERT_EQ(fuente_->ColumnaRechazada(), kDni);
  fuente_->Escapar();
  EXPECT_EQ(fuente_->ColumnaRechazada(), std::nullopt);
  EXPECT_EQ(fuente_->Texto(1, kDni), "1002");
  EXPECT_TRUE(fuente_->Editando());
  fuente_->Escapar();  // nothing refused: nothing changes
  EXPECT_TRUE(fuente_->Editando());
  EXPECT_EQ(DnisPublicados(), (Fila{"1001", "1002"}));
}

}  // namespace
