// The two review dialogs of the import without widgets: each dialog's design as plain data (caption, sizes
// at 96 dpi, the gradient panel, the labels, the navigator, the grid and its columns, "Salir"), and each
// dialog's own part: the table object its grid edits, opened as the dialog is created and closed as it is
// released, the grid's data source, the grid's enter and exit handlers, what "Salir" does, and when the
// focus may leave the grid. A window toolkit (Qt on Linux, Win32 on Windows) draws the design and feeds
// the focus moves, clicks and failures in.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/fuente_datos.h"
#include "storage/storage.h"

namespace run {

struct Rgb {
  std::uint8_t rojo = 0;
  std::uint8_t verde = 0;
  std::uint8_t azul = 0;
  bool operator==(const Rgb&) const = default;
};

// A colour of the design: a fixed one, or one of the system's colours, with its value in Windows' standard
// scheme for a window system that does not report it.
struct Color {
  enum class Sistema { kNinguno, kEscritorio, kResalte };  // none, the desktop, hot-tracked items
  Rgb rgb;
  Sistema sistema = Sistema::kNinguno;
  bool operator==(const Color&) const = default;
};

// A box in pixels at 96 dpi: left, top, width, height.
struct Caja {
  int x = 0;
  int y = 0;
  int ancho = 0;
  int alto = 0;
  bool operator==(const Caja&) const = default;
};

// A font by face and size in points.
struct Letra {
  std::string cara;
  int puntos = 8;
  bool negrita = false;
  bool subrayada = false;
  bool operator==(const Letra&) const = default;
};

enum class Alineacion { kIzquierda, kCentrada };

struct EtiquetaDiseno {
  std::string nombre;
  Caja caja;  // on the panel
  std::string texto;
  Letra letra;
  Color color;
  bool ajustada = false;  // wrapped at word boundaries inside its box
  Alineacion alineacion = Alineacion::kIzquierda;
  std::optional<Color> fondo;  // transparent when empty
};

// A review dialog as designed. The panel's box is in the client area; the other controls stand on the
// panel, their boxes counted from its top left corner.
struct DisenoRevision {
  std::string nombre;
  std::string titulo;
  int x = 0;  // on the screen
  int y = 0;
  int anchoCliente = 0;
  int altoCliente = 0;
  Letra letra;  // the dialog's default font
  Color fondo;
  std::string nombrePanel;
  Caja panel;
  Color panelArriba;  // the panel's gradient, top to bottom through the middle
  Color panelMedio;
  Color panelAbajo;
  std::vector<EtiquetaDiseno> etiquetas;
  std::string nombreNavegador;
  Caja navegador;
  std::string nombreRejilla;
  Caja rejilla;
  std::vector<ColumnaDatos> columnas;
  Color celdas;
  Color celdasAlternas;  // every other row
  Color titulos;         // the column titles' background; titles bold, left-aligned, on up to two lines
  std::string nombreSalir;
  Caja salir;
  std::string textoSalir;
  Letra letraSalir;
};

const DisenoRevision& DisenoControlProfesores();
const DisenoRevision& DisenoControlPlantilla();

// The grid's rows and titles: a row is the font's height and this much more; the titles' band holds two
// lines of their font and this much more.
inline constexpr int kMargenFila = 3;
inline constexpr int kMargenTitulos = 6;

// A column's width in pixels: its characters in the width of the grid font's "0", and never narrower than
// the widest word of its title (which may take two lines), measured by `anchoDeTitulo` in the titles' font.
int AnchoDeColumna(const ColumnaDatos& columna, int anchoDelCero,
                   const std::function<int(std::string_view palabra)>& anchoDeTitulo);

// What both review dialogs share without widgets. The window tells it where the focus goes and passes on
// the data source's failures; it tells the window whether the focus may stay where it went, whether
// "Salir" closes, and which failure to show once the event that caused it is over.
class Revision {
 public:
  virtual ~Revision();
  Revision(const Revision&) = delete;
  Revision& operator=(const Revision&) = delete;

  const DisenoRevision& Diseno() const { return diseno_; }
  FuenteDatos& Fuente() { return fuente_; }
  const FuenteDatos& Fuente() const { return fuente_; }

  // The window's cell editor, which hands its text over before the handlers store the record; none (a grid
  // without editors) until the window sets one.
  void PonerEditor(EditorDeCelda* editor);

  // The grid's enter and exit handlers, under each dialog's own names.
  virtual void RejillaEnter() = 0;
  virtual void RejillaExit() = 0;

  // The focus moved to another control of the dialog: into the grid (or an editor in it) or out of it.
  // Entering runs the enter handler; leaving runs the exit handler, unless a failure is still to be
  // shown. False when the grid must take the focus back: its record was not stored (a refused text, a
  // failed post). Moves to other windows (a message box, another program) are not the dialog's.
  bool FocoMovido(bool enLaRejilla);
  bool EnLaRejilla() const { return enLaRejilla_; }

  // "Salir" was clicked: whether the dialog closes. It does not while a cell holds a text that the table
  // refused, nor while the grid kept the focus over a failure not yet shown.
  bool SalirClick() const;

  // A failure of the table layer while the user works. One event shows one message: true for the first
  // one, which the window shows (FalloPorMostrar) once the event that caused it is over; the same refusal
  // met again within that event is not shown twice.
  bool AnotarFallo(const std::string& mensaje);
  std::optional<std::string> FalloPorMostrar();

 protected:
  // Opens the table object `nombreTabla`, pointed at its file by `dirigir`, on `engine` (a failure to open
  // it is the table layer's error, thrown from here), positioned on its first record.
  Revision(storage::Engine& engine, const DisenoRevision& diseno, std::string nombreTabla,
           void (*dirigir)(storage::Table&));
  storage::Table& Tabla() { return tabla_; }
  // The data source's operations around the window's cell editor.
  RejillaConEditor Rejilla() { return {fuente_, *editor_}; }

 private:
  class SinEditor : public EditorDeCelda {
    void Entregar() override {}
    void Cerrar() override {}
  };

  const DisenoRevision& diseno_;
  storage::Table tabla_;
  FuenteDatos fuente_;
  SinEditor sinEditor_;
  EditorDeCelda* editor_ = &sinEditor_;
  bool enLaRejilla_ = false;
  std::optional<std::string> fallo_;
};

// The teacher identity review: every record of C:\HTEMP\PROFT.DBF, where the user gives the missing
// identity numbers (DNI) before the timetable is transferred.
class ControlProfesores final : public Revision {
 public:
  explicit ControlProfesores(storage::Engine& engine);

  // On entering the grid the current record goes into edit mode; on leaving it a record being edited or
  // appended is posted.
  void ProftDBGridEnter();
  void ProftDBGridExit();

  void RejillaEnter() override { ProftDBGridEnter(); }
  void RejillaExit() override { ProftDBGridExit(); }
};

// The class-period template review: the 20 periods of C:\HTEMP\Valencia\PLANTILLA.DBF, whose start and end
// times the user checks and corrects.
class ControlPlantilla final : public Revision {
 public:
  explicit ControlPlantilla(storage::Engine& engine);

  void PlantiHorDBGridEnter();
  void PlantiHorDBGridExit();

  void RejillaEnter() override { PlantiHorDBGridEnter(); }
  void RejillaExit() override { PlantiHorDBGridExit(); }
};

}  // namespace run
