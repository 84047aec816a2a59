#include "ventana/revision.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <utility>

namespace ventana {
namespace {

// ---------------------------------------------------------------------------------------------------------
// The look both designs share

constexpr std::string_view kCara = "MS Sans Serif";

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

constexpr Letra DeLaVentana(int puntos, bool negrita = false, bool subrayada = false) {
  return {kCara, puntos, negrita, subrayada};
}

// The three labels: the dialog's title (Label1), the heading of the explanation (Label3) and the
// explanation (Label2).
Etiqueta Titulo(Caja caja, std::string_view texto) {
  return {"Label1", 0, caja, texto, DeLaVentana(10, true), kResalte, true, Alineacion::kIzquierda, std::nullopt};
}

Etiqueta Encabezado(Caja caja, std::string_view texto) {
  return {"Label3", 0, caja, texto, DeLaVentana(8, true, true), kRojo, false, Alineacion::kCentrada, kFondoEncabezado};
}

Etiqueta Explicacion(Caja caja, std::string_view texto) {
  return {"Label2", 0, caja, texto, DeLaVentana(8, true), kAzulMarino, true, Alineacion::kIzquierda, std::nullopt};
}

Control Boton(Caja caja) { return {"BitBtn1", 0, caja, "Salir", DeLaVentana(8, true), {}, {}, Glifo::kCerrar}; }

// The frame, the panel's look, the navigator's name and the grid's colours; each design adds its caption,
// sizes, labels and boxes.
DisenoRevision Comun() {
  DisenoRevision diseno;
  diseno.letra = DeLaVentana(8);
  diseno.fondo = kEscritorio;
  diseno.panel = {"Draw3D1", {}, kEscritorio, kMedio, kAguamarina};
  diseno.navegador.nombre = "wwDBNavigator1";
  diseno.celdas = kCeldas;
  diseno.celdasAlternas = kCeldasAlternas;
  diseno.titulos = kTitulos;
  return diseno;
}

DisenoRevision Profesores() {
  DisenoRevision diseno = Comun();
  diseno.nombre = "ControlProfesores";
  diseno.titulo = "Control de Profesores";
  diseno.ventana = {24, 25, 726, 499};
  diseno.panel.caja = {0, 1, 726, 496};
  diseno.etiquetas = {
      Titulo({9, 20, 202, 32}, "CONTROL DEL D.N.I DE LOS PROFESORES"),
      Encabezado({521, 66, 190, 13}, "INCIDENCIAS EN EL TRASPASO"),
      Explicacion({517, 91, 201, 104},
                  "Se ha detectado que existe algún Profesor sin D.N.I. Para poder realizar correctamente la "
                  "integración del Horario en ESCOLAN, deberán asignarlo en esta rejilla. Los Profesores deberán "
                  "estar creados previamente en ESCOLAN, con los mismos D.N.I's."),
  };
  diseno.navegador.caja = {236, 29, 275, 24};
  diseno.rejilla.nombre = "ProftDBGrid";
  diseno.rejilla.caja = {9, 56, 504, 433};
  diseno.salir = Boton({584, 216, 75, 25});
  return diseno;
}

// The panel reaches below the client area, as it was drawn.
DisenoRevision Plantilla() {
  DisenoRevision diseno = Comun();
  diseno.nombre = "ControlPlantilla";
  diseno.titulo = "Control de Plantilla Horaria";
  diseno.ventana = {24, 25, 726, 463};
  diseno.panel.caja = {0, 2, 726, 497};
  diseno.etiquetas = {
      Titulo({9, 12, 151, 64}, "COMPROBACIÓN DE LA PLANTILLA HORARIA DEL CENTRO"),
      Encabezado({505, 57, 210, 13}, "PLANTILLA HORARIA DEL CENTRO"),
      Explicacion({504, 91, 209, 130},
                  "Se ha recogido la siguiente Plantilla Horaria desde ESCOLAN. Compruébela y modifique, en caso "
                  "necesario, las Horas de Inicio y Final de Clase, en la presente rejilla. Deben ser iguales que la "
                  "Plantilla Horaria que estén utilizando en ESCOLAN. Una vez adaptada la Rejilla Horaria, Pulse "
                  "sobre el Botón Salir."),
  };
  diseno.navegador.caja = {180, 29, 275, 24};
  diseno.rejilla.nombre = "PlantiHorDBGrid";
  diseno.rejilla.caja = {156, 56, 330, 385};
  diseno.salir = Boton({576, 312, 75, 25});
  return diseno;
}

}  // namespace

const DisenoRevision& DisenoDe(run::TipoRevision tipo) {
  static const DisenoRevision profesores = Profesores();
  static const DisenoRevision plantilla = Plantilla();
  return tipo == run::TipoRevision::kProfesores ? profesores : plantilla;
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
// DialogoRevision

DialogoRevision::DialogoRevision(run::Revision& revision)
    : diseno_(DisenoDe(revision.Tipo())), fuente_(revision.Engine(), revision.Tabla(), revision.Columnas()) {}

DialogoRevision::~DialogoRevision() = default;

void DialogoRevision::PonerEditor(EditorDeCelda* editor) { editor_ = editor != nullptr ? editor : &sinEditor_; }

void DialogoRevision::AlEntrarEnLaRejilla() {
  if (!fuente_.Editando()) fuente_.Editar();
}

void DialogoRevision::AlSalirDeLaRejilla() {
  if (fuente_.Editando()) Rejilla().Publicar();
}

bool DialogoRevision::FocoMovido(bool enLaRejilla) {
  if (enLaRejilla == enLaRejilla_) return true;
  if (enLaRejilla) {
    enLaRejilla_ = true;
    AlEntrarEnLaRejilla();
    return true;
  }
  if (!fallo_) AlSalirDeLaRejilla();
  if (fallo_ || fuente_.ColumnaRechazada()) return false;  // a refused cell or record: the grid keeps the focus
  enLaRejilla_ = false;
  return true;
}

bool DialogoRevision::PuedeCerrar() const { return !((enLaRejilla_ && fallo_) || fuente_.ColumnaRechazada()); }

bool DialogoRevision::AnotarFallo(const std::string& mensaje) {
  if (fallo_) return false;
  fallo_ = mensaje;
  return true;
}

std::optional<std::string> DialogoRevision::FalloPorMostrar() { return std::exchange(fallo_, std::nullopt); }

// ---------------------------------------------------------------------------------------------------------
// Answers without a dialog

namespace {

// Keeps the data source's last failure while it lives, in place of the window that would show it.
class Fallos : public FuenteDatos::Observador {
 public:
  explicit Fallos(FuenteDatos& fuente) : fuente_(fuente) { fuente_.PonerObservador(this); }
  ~Fallos() override { fuente_.PonerObservador(nullptr); }
  Fallos(const Fallos&) = delete;
  Fallos& operator=(const Fallos&) = delete;
  void Fallo(const std::string& mensaje) override { ultimo_ = mensaje; }
  // Throws the failure that made `hecho` false.
  void Exigir(bool hecho) const {
    if (!hecho) throw std::runtime_error(ultimo_);
  }

 private:
  FuenteDatos& fuente_;
  std::string ultimo_;
};

int ColumnaDe(const FuenteDatos& fuente, const std::string& campo) {
  for (int columna = 0; columna < fuente.NumeroDeColumnas(); ++columna) {
    if (fuente.Columnas()[static_cast<std::size_t>(columna)].campo == campo) return columna;
  }
  throw std::invalid_argument("La rejilla no muestra el campo " + campo);
}

}  // namespace

// Row by row as the user types into the grid: each answered row is reached, its cells written and the record
// posted; rows without an answer are neither edited nor posted.
void Responder(DialogoRevision& dialogo, const std::vector<Respuesta>& respuestas) {
  FuenteDatos& fuente = dialogo.Fuente();
  // Held apart from the stack: the source keeps its address only while it lives, which the compiler cannot
  // follow through the source's object and warns about for a local.
  auto fallos = std::make_unique<Fallos>(fuente);
  for (const Respuesta& respuesta : respuestas) {
    const int clave = ColumnaDe(fuente, respuesta.campoClave);
    for (int fila = 0; fila < fuente.Registros(); ++fila) {
      if (fuente.Texto(fila, clave) != respuesta.clave) continue;
      fallos->Exigir(fuente.IrAFila(fila));
      for (const auto& [campo, texto] : respuesta.celdas) {
        fallos->Exigir(fuente.EscribirCelda(ColumnaDe(fuente, campo), texto));
      }
      fallos->Exigir(fuente.Publicar());
    }
  }
}

}  // namespace ventana
