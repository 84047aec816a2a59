#include "run/revision.h"

#include <algorithm>
#include <utility>

#include "run/tablas_preparadas.h"

namespace run {
namespace {

// ---------------------------------------------------------------------------------------------------------
// The look both dialogs share

const char* const kCara = "MS Sans Serif";

constexpr Color kEscritorio{{0x3A, 0x6E, 0xA5}, Color::Sistema::kEscritorio};
constexpr Color kResalte{{0x00, 0x66, 0xCC}, Color::Sistema::kResalte};
constexpr Color kMedio{{240, 251, 255}};
constexpr Color kAguamarina{{0x00, 0xFF, 0xFF}};
constexpr Color kCeldas{{240, 251, 255}};
constexpr Color kCeldasAlternas{{207, 217, 254}};
constexpr Color kTitulos{{254, 228, 169}};
constexpr Color kRojo{{0xFF, 0x00, 0x00}};
constexpr Color kFondoEncabezado{{240, 202, 166}};
constexpr Color kAzulMarino{{0x00, 0x00, 0x80}};

Letra DeLaVentana(int puntos, bool negrita = false, bool subrayada = false) {
  return {kCara, puntos, negrita, subrayada};
}

// The three labels: the dialog's title (Label1), the heading of the explanation (Label3) and the
// explanation (Label2).
EtiquetaDiseno Titulo(Caja caja, const char* texto) {
  return {"Label1", caja, texto, DeLaVentana(10, true), kResalte, true, Alineacion::kIzquierda, std::nullopt};
}

EtiquetaDiseno Encabezado(Caja caja, const char* texto) {
  return {"Label3", caja, texto, DeLaVentana(8, true, true), kRojo, false, Alineacion::kCentrada, kFondoEncabezado};
}

EtiquetaDiseno Explicacion(Caja caja, const char* texto) {
  return {"Label2", caja, texto, DeLaVentana(8, true), kAzulMarino, true, Alineacion::kIzquierda, std::nullopt};
}

// The frame, the panel, the navigator's and the button's names and looks, and the grid's colours; each
// dialog adds its caption, sizes, labels, boxes and columns.
DisenoRevision Comun() {
  DisenoRevision diseno;
  diseno.x = 24;
  diseno.y = 25;
  diseno.letra = DeLaVentana(8);
  diseno.fondo = kEscritorio;
  diseno.nombrePanel = "Draw3D1";
  diseno.panelArriba = kEscritorio;
  diseno.panelMedio = kMedio;
  diseno.panelAbajo = kAguamarina;
  diseno.nombreNavegador = "wwDBNavigator1";
  diseno.celdas = kCeldas;
  diseno.celdasAlternas = kCeldasAlternas;
  diseno.titulos = kTitulos;
  diseno.nombreSalir = "BitBtn1";
  diseno.textoSalir = "Salir";
  diseno.letraSalir = DeLaVentana(8, true);
  return diseno;
}

DisenoRevision Profesores() {
  DisenoRevision diseno = Comun();
  diseno.nombre = "ControlProfesores";
  diseno.titulo = "Control de Profesores";
  diseno.anchoCliente = 726;
  diseno.altoCliente = 499;
  diseno.panel = {0, 1, 726, 496};
  diseno.etiquetas = {
      Titulo({9, 20, 202, 32}, "CONTROL DEL D.N.I DE LOS PROFESORES"),
      Encabezado({521, 66, 190, 13}, "INCIDENCIAS EN EL TRASPASO"),
      Explicacion({517, 91, 201, 104},
                  "Se ha detectado que existe algún Profesor sin D.N.I. Para poder realizar correctamente la "
                  "integración del Horario en ESCOLAN, deberán asignarlo en esta rejilla. Los Profesores deberán "
                  "estar creados previamente en ESCOLAN, con los mismos D.N.I's."),
  };
  diseno.navegador = {236, 29, 275, 24};
  diseno.nombreRejilla = "ProftDBGrid";
  diseno.rejilla = {9, 56, 504, 433};
  diseno.columnas = {
      {"DNI", 10, "DNI"}, {"ABREV", 4, "ABREV"}, {"NOMBRE", 40, "NOMBRE"}, {"DEPART", 40, "DEPARTAMENTO"}};
  diseno.salir = {584, 216, 75, 25};
  return diseno;
}

// The panel reaches below the client area, as it was drawn. The period number is shown, never edited: the
// template keeps its periods 1 to 20.
DisenoRevision Plantilla() {
  DisenoRevision diseno = Comun();
  diseno.nombre = "ControlPlantilla";
  diseno.titulo = "Control de Plantilla Horaria";
  diseno.anchoCliente = 726;
  diseno.altoCliente = 463;
  diseno.panel = {0, 2, 726, 497};
  diseno.etiquetas = {
      Titulo({9, 12, 151, 64}, "COMPROBACIÓN DE LA PLANTILLA HORARIA DEL CENTRO"),
      Encabezado({505, 57, 210, 13}, "PLANTILLA HORARIA DEL CENTRO"),
      Explicacion({504, 91, 209, 130},
                  "Se ha recogido la siguiente Plantilla Horaria desde ESCOLAN. Compruébela y modifique, en caso "
                  "necesario, las Horas de Inicio y Final de Clase, en la presente rejilla. Deben ser iguales que la "
                  "Plantilla Horaria que estén utilizando en ESCOLAN. Una vez adaptada la Rejilla Horaria, Pulse "
                  "sobre el Botón Salir."),
  };
  diseno.navegador = {180, 29, 275, 24};
  diseno.nombreRejilla = "PlantiHorDBGrid";
  diseno.rejilla = {156, 56, 330, 385};
  diseno.columnas = {
      {"HORA", 7, "HORA", false}, {"HORAINI", 20, "HORA INICIO CLASE"}, {"HORAFIN", 19, "HORA FINAL CLASE"}};
  diseno.salir = {576, 312, 75, 25};
  return diseno;
}

// Opens the dialog's table object before its data source reads the rows.
storage::Table& Abrir(storage::Table& tabla, void (*dirigir)(storage::Table&)) {
  dirigir(tabla);
  tabla.Open();
  return tabla;
}

}  // namespace

const DisenoRevision& DisenoControlProfesores() {
  static const DisenoRevision diseno = Profesores();
  return diseno;
}

const DisenoRevision& DisenoControlPlantilla() {
  static const DisenoRevision diseno = Plantilla();
  return diseno;
}

int AnchoDeColumna(const ColumnaDatos& columna, int anchoDelCero,
                   const std::function<int(std::string_view palabra)>& anchoDeTitulo) {
  int palabra = 0;
  std::string_view titulo = columna.titulo;
  while (!titulo.empty()) {
    std::size_t espacio = titulo.find(' ');
    palabra = std::max(palabra, anchoDeTitulo(titulo.substr(0, espacio)));
    titulo.remove_prefix(espacio == std::string_view::npos ? titulo.size() : espacio + 1);
  }
  return std::max(columna.ancho * anchoDelCero + 4, palabra + 8);
}

// ---------------------------------------------------------------------------------------------------------
// Revision

Revision::Revision(storage::Engine& engine, const DisenoRevision& diseno, std::string nombreTabla,
                   void (*dirigir)(storage::Table&))
    : diseno_(diseno),
      tabla_(engine, std::move(nombreTabla)),
      fuente_(engine, Abrir(tabla_, dirigir), diseno.columnas) {}

Revision::~Revision() = default;

void Revision::PonerEditor(EditorDeCelda* editor) { editor_ = editor != nullptr ? editor : &sinEditor_; }

bool Revision::FocoMovido(bool enLaRejilla) {
  if (enLaRejilla == enLaRejilla_) return true;
  if (enLaRejilla) {
    enLaRejilla_ = true;
    RejillaEnter();
    return true;
  }
  if (!fallo_) RejillaExit();
  if (fallo_ || fuente_.ColumnaRechazada()) return false;  // a refused cell or record: the grid keeps the focus
  enLaRejilla_ = false;
  return true;
}

bool Revision::SalirClick() const { return !((enLaRejilla_ && fallo_) || fuente_.ColumnaRechazada()); }

bool Revision::AnotarFallo(const std::string& mensaje) {
  if (fallo_) return false;
  fallo_ = mensaje;
  return true;
}

std::optional<std::string> Revision::FalloPorMostrar() { return std::exchange(fallo_, std::nullopt); }

// ---------------------------------------------------------------------------------------------------------
// The two dialogs

ControlProfesores::ControlProfesores(storage::Engine& engine)
    : Revision(engine, DisenoControlProfesores(), "wwTableProft", DirigirAProfesores) {}

void ControlProfesores::ProftDBGridEnter() {
  if (!Tabla().Editing()) Fuente().Editar();
}

void ControlProfesores::ProftDBGridExit() {
  if (Tabla().Editing()) Rejilla().Publicar();
}

ControlPlantilla::ControlPlantilla(storage::Engine& engine)
    : Revision(engine, DisenoControlPlantilla(), "wwTablePlantilla", DirigirAPlantilla) {}

void ControlPlantilla::PlantiHorDBGridEnter() {
  if (!Tabla().Editing()) Fuente().Editar();
}

void ControlPlantilla::PlantiHorDBGridExit() {
  if (Tabla().Editing()) Rejilla().Publicar();
}

}  // namespace run
