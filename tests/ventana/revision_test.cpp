// The review dialog without widgets, on real tables of a temporary drive C:: the designs' boxes and columns,
// the column width rule, the table object and handlers of each kind of review, the focus entering and
// leaving the grid, "Salir", the failures shown once per event, the identity numbers the teacher review
// stores, and the grid's operations around a cell editor.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "import/importacion.h"
#include "ventana/revision.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"

namespace {

using ventana::AccionNavegador;
using ventana::Caja;
using ventana::DisenoRevision;
using testing_support::Fila;
using testing_support::Filas;

constexpr const char* kProft = "C:\\HTEMP\\PROFT.DBF";
constexpr const char* kPlantilla = "C:\\HTEMP\\VALENCIA\\PLANTILLA.DBF";
constexpr int kDni = 0;
const std::string kRechazo = "'12-3' no es un valor entero válido para el campo 'DNI'";

// The teacher-identity rule's refusal of `texto` in the DNI column.
std::string DniNoAdmitido(const std::string& texto) {
  return "'" + texto +
         "' no es un D.N.I. válido para el campo 'DNI': escriba un número entero de 1 a 999999999, o déjelo vacío "
         "si el profesor no tiene.";
}

// ---------------------------------------------------------------------------------------------------------
// The designs

// Every control on the panel, as a box in the client area.
std::vector<std::pair<std::string, Caja>> Controles(const DisenoRevision& d) {
  const Caja& panel = d.panel.caja;
  auto enElCliente = [&panel](Caja caja) {
    return Caja{caja.izquierda + panel.izquierda, caja.arriba + panel.arriba, caja.ancho, caja.alto};
  };
  std::vector<std::pair<std::string, Caja>> controles;
  for (const ventana::Etiqueta& etiqueta : d.etiquetas) {
    controles.emplace_back(etiqueta.nombre, enElCliente(etiqueta.caja));
  }
  for (const ventana::Control* control : {&d.navegador, &d.rejilla, &d.salir}) {
    controles.emplace_back(control->nombre, enElCliente(control->caja));
  }
  return controles;
}

class DisenoTest : public ::testing::TestWithParam<const DisenoRevision*> {};

// A mistyped position or size would cut a control at the window's edge or leave it off the panel.
TEST_P(DisenoTest, EveryControlStandsOnThePanelInsideTheClientArea) {
  const DisenoRevision& d = *GetParam();
  for (const auto& [nombre, caja] : Controles(d)) {
    SCOPED_TRACE(nombre);
    EXPECT_GE(caja.izquierda, 0);
    EXPECT_GE(caja.arriba, 0);
    EXPECT_LE(caja.Derecha(), d.ventana.ancho);
    EXPECT_LE(caja.Abajo(), d.ventana.alto);
    EXPECT_LE(caja.Abajo(), d.panel.caja.Abajo());
  }
  EXPECT_EQ(d.panel.caja.izquierda, 0);
  EXPECT_EQ(d.panel.caja.ancho, d.ventana.ancho);
}

INSTANTIATE_TEST_SUITE_P(Dialogos, DisenoTest,
                         ::testing::Values(&ventana::DisenoDe(run::TipoRevision::kProfesores),
                                           &ventana::DisenoDe(run::TipoRevision::kPlantillaHoraria)),
                         [](const auto& caso) { return std::string(caso.param->nombre); });

struct CasoAncho {
  const char* titulo;
  int caracteres;
  int ancho;
};

// Each character of a title measures 10 pixels here, and the "0" of the cells 6.
TEST(AnchoDeColumnaTest, TheWiderOfTheCharactersAndTheTitlesWidestWord) {
  const std::vector<CasoAncho> casos = {
      {"DNI", 10, 10 * 6 + 4},                      // the characters
      {"ABREV", 4, 5 * 10 + 8},                     // the title
      {"HORA INICIO CLASE", 4, 6 * 10 + 8},         // its widest word: the title takes two lines
      {"HORA INICIO CLASE", 20, 20 * 6 + 4},
      {"", 3, 3 * 6 + 4},
  };
  for (const CasoAncho& caso : casos) {
    SCOPED_TRACE(caso.titulo);
    run::ColumnaDatos columna{"CAMPO", caso.caracteres, caso.titulo};
    auto anchoDeTitulo = [](std::string_view palabra) { return 10 * static_cast<int>(palabra.size()); };
    EXPECT_EQ(ventana::AnchoDeColumna(columna, 6, anchoDeTitulo), caso.ancho);
  }
}

// ---------------------------------------------------------------------------------------------------------
// The dialogs' tables and handlers

// The window's cell editor as the handlers see it: a text typed in it, handed over on request.
class EditorDePrueba : public ventana::EditorDeCelda {
 public:
  explicit EditorDePrueba(ventana::FuenteDatos& fuente) : fuente_(fuente) {}
  void Abrir(int columna, std::string texto) {
    columna_ = columna;
    texto_ = std::move(texto);
  }
  bool Abierto() const { return columna_ >= 0; }
  void Entregar() override {
    ++entregas;
    if (Abierto()) fuente_.EscribirCelda(columna_, texto_);
  }
  void Cerrar() override { columna_ = -1; }

  int entregas = 0;

 private:
  ventana::FuenteDatos& fuente_;
  int columna_ = -1;
  std::string texto_;
};

// The data source's failures, passed on as a window passes them.
class Fallos : public ventana::FuenteDatos::Observador {
 public:
  explicit Fallos(ventana::DialogoRevision& dialogo) : dialogo_(dialogo) {}
  void Fallo(const std::string& mensaje) override {
    if (dialogo_.AnotarFallo(mensaje)) ++porMostrar;
  }
  int porMostrar = 0;

 private:
  ventana::DialogoRevision& dialogo_;
};

// A PROFT of three teachers, the second without DNI, opened by the teacher review as its dialog opens it.
class RevisionProfesoresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drive_.MakeHostFolder("HTEMP");
    Abrir();
  }

  // PROFT written afresh, and the dialog opened on it; a dialog open before goes first, with its review.
  void Abrir() {
    fallos_.reset();
    editor_.reset();
    dialogo_.reset();
    revision_.reset();
    testing_support::EscribirProft(engine_, {{"P01", "1001"}, {"P02", "0"}, {"P03", "1003"}});
    revision_ = importacion::RevisionProfesores(engine_);
    dialogo_ = std::make_unique<ventana::DialogoRevision>(*revision_);
    editor_ = std::make_unique<EditorDePrueba>(dialogo_->Fuente());
    fallos_ = std::make_unique<Fallos>(*dialogo_);
    dialogo_->Fuente().PonerObservador(fallos_.get());
    dialogo_->PonerEditor(editor_.get());
  }

  // The second teacher's DNI typed into the grid's cell editor, the grid holding the focus.
  void TeclearDni(const std::string& texto) {
    ASSERT_TRUE(dialogo_->FocoMovido(true));
    ASSERT_TRUE(dialogo_->Fuente().IrAFila(1));
    dialogo_->AlEntrarEnLaRejilla();  // as the grid does on typing: the record into edit mode
    editor_->Abrir(kDni, texto);
  }

  // The DNIs as the program's other table objects read them (the import's check, after the dialog): only
  // what was posted counts.
  Fila Dnis() {
    Fila dnis;
    for (const Fila& fila : testing_support::LeerTabla(engine_, kProft, {"DNI"})) dnis.push_back(fila[0]);
    return dnis;
  }

  testing_support::TemporaryDrive drive_;
  storage::Engine engine_{'.'};
  std::unique_ptr<run::Revision> revision_;
  std::unique_ptr<ventana::DialogoRevision> dialogo_;
  std::unique_ptr<EditorDePrueba> editor_;
  std::unique_ptr<Fallos> fallos_;
};

TEST_F(RevisionProfesoresTest, OpensProftOnItsFirstRecordWithEveryColumnFilled) {
  const ventana::FuenteDatos& fuente = dialogo_->Fuente();
  EXPECT_EQ(fuente.Filas(), 3);
  EXPECT_EQ(fuente.FilaActual(), 0);
  EXPECT_FALSE(fuente.Editando());
  const Fila esperado = {"1001", "P01", "Profesor P01", "Departamento"};
  for (int columna = 0; columna < fuente.NumeroDeColumnas(); ++columna) {
    EXPECT_EQ(fuente.Texto(0, columna), esperado[static_cast<std::size_t>(columna)]);
  }
  EXPECT_TRUE(fuente.Entera(kDni));
  EXPECT_EQ(dialogo_->Diseno().titulo, "Control de Profesores");
}

TEST_F(RevisionProfesoresTest, EnteringTheGridEditsAndLeavingItPostsWhatTheEditorHolds) {
  TeclearDni("12345678");
  EXPECT_TRUE(dialogo_->Fuente().Editando());
  EXPECT_TRUE(dialogo_->FocoMovido(false));
  EXPECT_FALSE(dialogo_->EnLaRejilla());
  EXPECT_FALSE(dialogo_->Fuente().Editando());
  EXPECT_FALSE(editor_->Abierto());  // stored: the editor closed
  EXPECT_EQ(Dnis(), (Fila{"1001", "12345678", "1003"}));
  EXPECT_TRUE(dialogo_->PuedeCerrar());
  // Back in the grid, the record goes into edit mode again; the focus moving within the grid changes nothing.
  EXPECT_TRUE(dialogo_->FocoMovido(true));
  EXPECT_TRUE(dialogo_->Fuente().Editando());
  EXPECT_TRUE(dialogo_->FocoMovido(true));
  EXPECT_EQ(editor_->entregas, 1);
}

// The close box releases the dialog without the focus leaving the grid: the record still pending goes.
TEST_F(RevisionProfesoresTest, ReleasingTheDialogDropsTheRecordBeingEdited) {
  TeclearDni("12345678");
  editor_->Entregar();
  ASSERT_TRUE(dialogo_->Fuente().Editando());
  dialogo_->PonerEditor(nullptr);
  dialogo_.reset();
  revision_.reset();
  EXPECT_EQ(Dnis(), (Fila{"1001", "0", "1003"}));
}

// A refused DNI keeps the focus in the grid and the dialog open; its message is shown once, however many
// times the same event meets it; once shown, the next attempt shows it again. Corrected, it goes.
TEST_F(RevisionProfesoresTest, ARefusedDniKeepsTheGridAndIsShownOncePerEvent) {
  TeclearDni("12-3");
  EXPECT_FALSE(dialogo_->FocoMovido(false));  // "Salir" clicked: the focus goes back to the grid
  EXPECT_TRUE(dialogo_->EnLaRejilla());
  EXPECT_FALSE(dialogo_->PuedeCerrar());
  EXPECT_FALSE(dialogo_->FocoMovido(false));  // the grid taking the focus back within the same event
  EXPECT_EQ(fallos_->porMostrar, 1);
  EXPECT_EQ(dialogo_->FalloPorMostrar(), kRechazo);
  EXPECT_EQ(dialogo_->FalloPorMostrar(), std::nullopt);

  EXPECT_FALSE(dialogo_->PuedeCerrar());  // the text is still refused
  EXPECT_FALSE(dialogo_->FocoMovido(false));
  EXPECT_EQ(fallos_->porMostrar, 2);
  EXPECT_EQ(dialogo_->FalloPorMostrar(), kRechazo);
  EXPECT_EQ(Dnis(), (Fila{"1001", "0", "1003"}));

  editor_->Abrir(kDni, "123");
  EXPECT_TRUE(dialogo_->FocoMovido(false));
  EXPECT_TRUE(dialogo_->PuedeCerrar());
  EXPECT_EQ(Dnis(), (Fila{"1001", "123", "1003"}));
}

// Escape drops the refused text: the cell shows its field again, the record stays in edit mode and
// leaving the grid posts it unchanged.
TEST_F(RevisionProfesoresTest, ARefusedTextDroppedLetsTheFocusLeave) {
  TeclearDni("12-3");
  editor_->Entregar();
  dialogo_->FalloPorMostrar();
  dialogo_->Fuente().DescartarRechazo();
  editor_->Cerrar();
  EXPECT_TRUE(dialogo_->Fuente().Editando());
  EXPECT_TRUE(dialogo_->FocoMovido(false));
  EXPECT_TRUE(dialogo_->PuedeCerrar());
  EXPECT_EQ(Dnis(), (Fila{"1001", "0", "1003"}));
}

// What the teacher review stores as an identity number, typed into its grid and the grid left ("Salir"
// clicked): a whole number from 1 to 999999999, or nothing (the teacher has none). Any other number is
// refused by the teacher-identity rule as a text that is no number is by the table: the text stays in its
// cell, the record in edit mode and the focus in the grid, and the message is shown once.
TEST_F(RevisionProfesoresTest, TheIdentityNumbersTheGridStores) {
  struct Caso {
    std::string texto;
    std::string guardado;  // the second teacher's DNI in the file afterwards
    std::string fallo;     // the message shown, if any
  };
  auto noEntero = [](const std::string& texto) { return "'" + texto + "' no es un valor entero válido para el campo 'DNI'"; };
  const std::vector<Caso> casos = {
      {"12345678", "12345678", ""},
      {"1", "1", ""},
      {"999999999", "999999999", ""},
      {"+7", "7", ""},
      {"", "", ""},    // stored empty: no number (it reads 0)
      {"0", "0", ""},  // as it was: no number
      {"-5", "0", DniNoAdmitido("-5")},
      {"-0012", "0", DniNoAdmitido("-0012")},
      {"1000000000", "0", DniNoAdmitido("1000000000")},
      {"2147483648", "0", DniNoAdmitido("2147483648")},  // beyond the table's integers as well
      {"-99999999999", "0", DniNoAdmitido("-99999999999")},
      {"12a", "0", noEntero("12a")},
      {"12-3", "0", kRechazo},
      {"-", "0", noEntero("-")},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE("'" + caso.texto + "'");
    Abrir();
    TeclearDni(caso.texto);
    const bool admitido = caso.fallo.empty();
    EXPECT_EQ(dialogo_->FocoMovido(false), admitido);
    EXPECT_EQ(dialogo_->PuedeCerrar(), admitido);
    EXPECT_EQ(fallos_->porMostrar, admitido ? 0 : 1);
    EXPECT_EQ(dialogo_->FalloPorMostrar().value_or(""), caso.fallo);
    if (!admitido) {
      EXPECT_EQ(dialogo_->Fuente().ColumnaRechazada(), kDni);
      EXPECT_EQ(dialogo_->Fuente().Texto(1, kDni), caso.texto);
      EXPECT_TRUE(dialogo_->Fuente().Editando());
      EXPECT_TRUE(editor_->Abierto());
    }
    EXPECT_EQ(Dnis(), (Fila{"1001", caso.guardado, "1003"}));
  }
}

TEST(ControlesAbiertosTest, AMissingTableIsTheTableLayersError) {
  testing_support::TemporaryDrive drive;
  drive.MakeHostFolder("HTEMP/VALENCIA");
  storage::Engine engine('.');
  EXPECT_THROW(importacion::RevisionProfesores(engine), storage::DatabaseError);
  try {
    importacion::RevisionPlantilla(engine);
    FAIL() << "the template review opened without its table";
  } catch (const storage::DatabaseError& error) {
    EXPECT_TRUE(std::string(error.what()).starts_with("La tabla no existe")) << error.what();
  }
}

// The staging folder's PLANTILLA with these periods (HORA, HORAINI, HORAFIN), in this order.
void EscribirPlantilla(storage::Engine& engine, const Filas& periodos) {
  testing_support::CrearTabla(engine, kPlantilla,
                              {{"HORA", storage::DataType::ftInteger},
                               {"HORAINI", storage::DataType::ftString, 5},
                               {"HORAFIN", storage::DataType::ftString, 5}},
                              periodos, {"HORA"});
}

// The template review edits the staging folder's PLANTILLA in stored order; its period number is read-only.
TEST(RevisionPlantillaTest, EditsTheTimesOfTheStagedTemplate) {
  testing_support::TemporaryDrive drive;
  drive.MakeHostFolder("HTEMP/Valencia");
  storage::Engine engine('.');
  EscribirPlantilla(engine, {{"2", "09:00", "09:55"}, {"1", "08:00", "08:55"}});
  {
    std::unique_ptr<run::Revision> revision = importacion::RevisionPlantilla(engine);
    ventana::DialogoRevision dialogo(*revision);
    ventana::FuenteDatos& fuente = dialogo.Fuente();
    EXPECT_EQ(dialogo.Diseno().titulo, "Control de Plantilla Horaria");
    ASSERT_EQ(fuente.Filas(), 2);
    EXPECT_EQ(fuente.Texto(0, 0), "2");
    EXPECT_EQ(fuente.PrimeraColumnaEditable(), 1);
    EXPECT_EQ(fuente.Caracteres(1), 5);
    ASSERT_TRUE(dialogo.FocoMovido(true));
    EXPECT_TRUE(fuente.Editando());
    EXPECT_FALSE(fuente.EscribirCelda(0, "7"));
    EXPECT_TRUE(fuente.EscribirCelda(1, "10:05"));
    EXPECT_TRUE(dialogo.FocoMovido(false));
  }
  storage::Engine otro('.');
  EXPECT_EQ(testing_support::LeerTabla(otro, kPlantilla), (Filas{{"2", "10:05", "09:55"}, {"1", "08:00", "08:55"}}));
}

// ---------------------------------------------------------------------------------------------------------
// The grid's operations around a cell editor

struct Operacion {
  const char* nombre;
  bool (*hacer)(ventana::RejillaConEditor&);
  int fila;   // the current row afterwards
  Fila dnis;  // the file afterwards
  bool editando;
};

// Each operation takes the open editor's text first and closes it after; a cancel closes it unheard.
TEST_F(RevisionProfesoresTest, TheOperationsTakeTheEditorsTextFirstAndCloseItAfter) {
  const Fila antes = {"1001", "0", "1003"};
  const Fila cambiado = {"1001", "77", "1003"};
  const std::vector<Operacion> operaciones = {
      {"post", [](ventana::RejillaConEditor& r) { return r.Publicar(); }, 1, cambiado, false},
      {"another row", [](ventana::RejillaConEditor& r) { return r.IrAFila(2); }, 2, cambiado, false},
      {"navigator's next", [](ventana::RejillaConEditor& r) { return r.Ejecutar(AccionNavegador::kSiguiente); }, 2,
       cambiado, false},
      {"navigator's refresh", [](ventana::RejillaConEditor& r) { return r.Ejecutar(AccionNavegador::kReleer); }, 1,
       cambiado, false},
      {"navigator's post", [](ventana::RejillaConEditor& r) { return r.Ejecutar(AccionNavegador::kPublicar); }, 1,
       cambiado, false},
      {"navigator's cancel", [](ventana::RejillaConEditor& r) { return r.Ejecutar(AccionNavegador::kCancelar); }, 1,
       antes, false},
      {"the same row", [](ventana::RejillaConEditor& r) { return r.IrAFila(1); }, 1, antes, true},
      // The cursor to another cell: of the row, with the text handed over and the record still pending; of
      // another row, as moving there.
      {"another cell of the row", [](ventana::RejillaConEditor& r) { return r.IrACelda(1); }, 1, antes, true},
      {"a cell of another row", [](ventana::RejillaConEditor& r) { return r.IrACelda(2); }, 2, cambiado, false},
  };
  ventana::FuenteDatos& fuente = dialogo_->Fuente();
  for (const Operacion& operacion : operaciones) {
    SCOPED_TRACE(operacion.nombre);
    ASSERT_TRUE(fuente.IrAFila(1));
    ASSERT_TRUE(fuente.Editar());
    editor_->Abrir(kDni, "77");
    ventana::RejillaConEditor rejilla(fuente, *editor_);
    EXPECT_TRUE(operacion.hacer(rejilla));
    EXPECT_EQ(fuente.FilaActual(), operacion.fila);
    EXPECT_EQ(Dnis(), operacion.dnis);
    EXPECT_EQ(fuente.Editando(), operacion.editando);
    EXPECT_EQ(editor_->Abierto(), operacion.editando);  // left open only where nothing was stored or left
    // Back to the file as it was.
    editor_->Cerrar();
    fuente.Cancelar();
    ASSERT_TRUE(fuente.IrAFila(1));
    ASSERT_TRUE(fuente.EscribirCelda(kDni, "0"));
    ASSERT_TRUE(fuente.Publicar());
  }
  EXPECT_EQ(fallos_->porMostrar, 0);
}

// A refused text stops the operation before it stores or moves: the editor stays open on its row, and the
// table's message is reported once.
TEST_F(RevisionProfesoresTest, ARefusedTextStopsTheOperationWithTheEditorOpen) {
  const std::vector<Operacion> operaciones = {
      {"post", [](ventana::RejillaConEditor& r) { return r.Publicar(); }, 1, {}, true},
      {"another row", [](ventana::RejillaConEditor& r) { return r.IrAFila(0); }, 1, {}, true},
      {"another cell of the row", [](ventana::RejillaConEditor& r) { return r.IrACelda(1); }, 1, {}, true},
      {"navigator's last", [](ventana::RejillaConEditor& r) { return r.Ejecutar(AccionNavegador::kUltimo); }, 1, {}, true},
      {"navigator's refresh", [](ventana::RejillaConEditor& r) { return r.Ejecutar(AccionNavegador::kReleer); }, 1, {},
       true},
  };
  ventana::FuenteDatos& fuente = dialogo_->Fuente();
  for (const Operacion& operacion : operaciones) {
    SCOPED_TRACE(operacion.nombre);
    dialogo_->FalloPorMostrar();
    fallos_->porMostrar = 0;
    ASSERT_TRUE(fuente.IrAFila(1));
    ASSERT_TRUE(fuente.Editar());
    editor_->Abrir(kDni, "12-3");
    ventana::RejillaConEditor rejilla(fuente, *editor_);
    EXPECT_FALSE(operacion.hacer(rejilla));
    EXPECT_EQ(fuente.FilaActual(), 1);
    EXPECT_TRUE(editor_->Abierto());
    EXPECT_EQ(fuente.ColumnaRechazada(), kDni);
    EXPECT_EQ(fallos_->porMostrar, 1);
    EXPECT_EQ(dialogo_->FalloPorMostrar(), kRechazo);
    rejilla.Cancelar();
    EXPECT_FALSE(editor_->Abierto());
    EXPECT_FALSE(fuente.ColumnaRechazada());
  }
  EXPECT_EQ(Dnis(), (Fila{"1001", "0", "1003"}));
}

// ---------------------------------------------------------------------------------------------------------
// Answers given without a dialog (the command line's --dni and --period)

// The answers go through the dialog's own data source: a number is checked, refused and posted as if typed.
TEST(ResponderTest, TheAnswersAreTypedIntoTheGridAndPosted) {
  testing_support::TemporaryDrive drive;
  drive.MakeHostFolder("HTEMP");
  storage::Engine engine('.');
  testing_support::EscribirProft(engine, {{"P01", "1001"}, {"P02", "0"}, {"P03", "0"}});
  struct Caso {
    const char* nombre;
    std::vector<ventana::Respuesta> respuestas;
    Fila dnis;
    std::string fallo;  // the table layer's message, where the answers stop
  };
  auto dni = [](const char* abreviatura, const char* numero) {
    return ventana::Respuesta{"ABREV", abreviatura, {{"DNI", numero}}};
  };
  const std::vector<Caso> casos = {
      {"none", {}, {"1001", "0", "0"}, ""},
      {"two teachers", {dni("P02", "12345678"), dni("P03", "7")}, {"1001", "12345678", "7"}, ""},
      {"an abbreviation PROFT lacks", {dni("P09", "5")}, {"1001", "0", "0"}, ""},
      {"a refused number", {dni("P02", "12"), dni("P03", "12-3")}, {"1001", "12", "0"}, kRechazo},
      // Refused by the same teacher-identity rule as in the grid.
      {"a negative number", {dni("P02", "12"), dni("P03", "-5")}, {"1001", "12", "0"}, DniNoAdmitido("-5")},
      {"ten digits", {dni("P02", "1000000000")}, {"1001", "0", "0"}, DniNoAdmitido("1000000000")},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    testing_support::EscribirProft(engine, {{"P01", "1001"}, {"P02", "0"}, {"P03", "0"}});
    std::string fallo;
    {
      std::unique_ptr<run::Revision> revision = importacion::RevisionProfesores(engine);
      try {
        ventana::DialogoRevision dialogo(*revision);
        ventana::Responder(dialogo, caso.respuestas);
      } catch (const std::exception& error) {
        fallo = error.what();
      }
    }
    EXPECT_EQ(fallo, caso.fallo);
    Fila dnis;
    for (const Fila& fila : testing_support::LeerTabla(engine, kProft, {"DNI"})) dnis.push_back(fila[0]);
    EXPECT_EQ(dnis, caso.dnis);
  }
}

// Only answered rows are posted: a PROFT the export wrote on another day keeps its bytes, the date of its last
// change among them, when no answer names one of its teachers; an answer changes it.
TEST(ResponderTest, OnlyTheAnsweredRowsArePosted) {
  testing_support::TemporaryDrive drive;
  drive.MakeHostFolder("HTEMP");
  for (bool conRespuesta : {false, true}) {
    SCOPED_TRACE(conRespuesta ? "an answer" : "no answer for a teacher of PROFT");
    {
      storage::Engine engine('.');
      testing_support::EscribirProft(engine, {{"P01", "0"}});
    }
    std::string antes = drive.ReadHostFile("HTEMP/PROFT.DBF");
    antes.replace(1, 3, std::string("\x5A\x01\x02", 3));  // last changed on 2 January 1990
    drive.WriteHostFile("HTEMP/PROFT.DBF", antes);
    {
      storage::Engine engine('.');
      std::unique_ptr<run::Revision> revision = importacion::RevisionProfesores(engine);
      std::vector<ventana::Respuesta> respuestas = {{"ABREV", "P09", {{"DNI", "5"}}}};
      if (conRespuesta) respuestas.push_back({"ABREV", "P01", {{"DNI", "5"}}});
      ventana::DialogoRevision dialogo(*revision);
      ventana::Responder(dialogo, respuestas);
    }
    EXPECT_EQ(drive.ReadHostFile("HTEMP/PROFT.DBF") == antes, !conRespuesta);
  }
}

TEST(ResponderTest, APeriodsTimesGoToItsRowOfTheTemplate) {
  testing_support::TemporaryDrive drive;
  drive.MakeHostFolder("HTEMP/Valencia");
  storage::Engine engine('.');
  EscribirPlantilla(engine, {{"1", "08:00", "08:55"}, {"2", "09:00", "09:55"}});
  {
    std::unique_ptr<run::Revision> revision = importacion::RevisionPlantilla(engine);
    ventana::DialogoRevision dialogo(*revision);
    ventana::Responder(dialogo, {{"HORA", "2", {{"HORAINI", "10:05"}, {"HORAFIN", ""}}}});
  }
  storage::Engine otro('.');
  EXPECT_EQ(testing_support::LeerTabla(otro, kPlantilla), (Filas{{"1", "08:00", "08:55"}, {"2", "10:05", ""}}));
}

}  // namespace
