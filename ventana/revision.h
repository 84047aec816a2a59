// The import's review dialog without widgets, one dialog in two designs: each design as plain data (caption,
// sizes at 96 dpi, the gradient panel, the labels, the navigator, the grid, "Salir"), picked by the kind of
// the review the import hands the window (run/revision.h); and the dialog over that review: the grid's data
// source on the review's table, what entering and leaving the grid do, whether "Salir" closes, and when the
// focus may leave the grid. A window toolkit (Qt on Linux, Win32 on Windows) draws the design and feeds the
// focus moves, clicks and failures in.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "run/revision.h"
#include "ventana/diseno.h"
#include "ventana/fuente_datos.h"

namespace ventana {

// A review dialog as designed. The panel's box is in the client area; the other controls stand on the
// panel, their boxes counted from its top left corner.
struct DisenoRevision {
  std::string_view nombre;
  std::string_view titulo;
  Caja ventana;  // its place on the screen and the size of its client area
  Letra letra;   // the dialog's default font, and the grid's cells'
  Color fondo;
  Panel panel;
  std::vector<Etiqueta> etiquetas;
  Control navegador;
  Control rejilla;
  Color celdas;
  Color celdasAlternas;  // every other row
  Color titulos;         // the column titles' background; titles bold, left-aligned, on up to two lines
  Control salir;
};

// The design of the dialog that shows a review of this kind: "Control de Profesores" for the teachers'
// identity numbers, "Control de Plantilla Horaria" for the class-period template.
const DisenoRevision& DisenoDe(run::TipoRevision tipo);

// The grid's rows and titles: a row is the font's height and this much more; the titles' band holds two
// lines of their font and this much more.
inline constexpr int kMargenFila = 3;
inline constexpr int kMargenTitulos = 6;

// A column's width in pixels: its characters in the width of the grid font's "0", and never narrower than
// the widest word of its title (which may take two lines), measured by `anchoDeTitulo` in the titles' font.
int AnchoDeColumna(const ColumnaDatos& columna, int anchoDelCero,
                   const std::function<int(std::string_view palabra)>& anchoDeTitulo);

// A review dialog without widgets: the design of the review's kind, the grid's data source over the
// review's table, and what the dialog does as the focus enters and leaves the grid and the user closes it.
// The window tells it where the focus goes and passes on the data source's failures; it tells the window
// whether the focus may stay where it went, whether "Salir" closes, and which failure to show once the event
// that caused it is over.
class DialogoRevision {
 public:
  // The dialog of the review's kind, its grid over the review's table, which must outlive the dialog.
  explicit DialogoRevision(run::Revision& revision);
  ~DialogoRevision();
  DialogoRevision(const DialogoRevision&) = delete;
  DialogoRevision& operator=(const DialogoRevision&) = delete;

  const DisenoRevision& Diseno() const { return diseno_; }
  FuenteDatos& Fuente() { return fuente_; }
  const FuenteDatos& Fuente() const { return fuente_; }

  // The window's cell editor, which hands its text over before the record is stored; none (a grid without
  // editors) until the window sets one.
  void PonerEditor(EditorDeCelda* editor);

  // Entering the grid puts the current record into edit mode (a new record on a table without records)
  // unless one is being edited already; leaving it posts a record being edited or appended, with what the
  // cell editor holds.
  void AlEntrarEnLaRejilla();
  void AlSalirDeLaRejilla();

  // The focus moved to another control of the dialog: into the grid (or an editor in it) or out of it.
  // Entering runs AlEntrarEnLaRejilla; leaving runs AlSalirDeLaRejilla, unless a failure is still to be
  // shown. False when the grid must take the focus back: its record was not stored (a refused text, a
  // failed post). Moves to other windows (a message box, another program) are not the dialog's.
  bool FocoMovido(bool enLaRejilla);
  bool EnLaRejilla() const { return enLaRejilla_; }

  // Whether "Salir" closes the dialog: not while a cell holds a text that was refused, nor while the grid
  // kept the focus over a failure not yet shown.
  bool PuedeCerrar() const;

  // A failure of the table layer, or a refusal of a column's rule, while the user works. One event shows
  // one message: true for the first one, which the window shows (FalloPorMostrar) once the event that
  // caused it is over; the same refusal met again within that event is not shown twice.
  bool AnotarFallo(const std::string& mensaje);
  std::optional<std::string> FalloPorMostrar();

 private:
  class SinEditor : public EditorDeCelda {
    void Entregar() override {}
    void Cerrar() override {}
  };

  // The data source's operations around the window's cell editor.
  RejillaConEditor Rejilla() { return {fuente_, *editor_}; }

  const DisenoRevision& diseno_;
  FuenteDatos fuente_;
  SinEditor sinEditor_;
  EditorDeCelda* editor_ = &sinEditor_;
  bool enLaRejilla_ = false;
  std::optional<std::string> fallo_;
};

// Answers to a review given without a dialog (the command line's options): on every row whose `campoClave`
// reads `clave`, each cell of `celdas` (field, text) is written as if typed into the grid, and the record
// posted, through the dialog's own data source and its rules; no other row is edited or posted. Throws, with
// the message of the refusal, when a text is refused or a record cannot be stored; the rows before keep what
// was posted.
struct Respuesta {
  std::string campoClave;
  std::string clave;
  std::vector<std::pair<std::string, std::string>> celdas;
};
void Responder(DialogoRevision& dialogo, const std::vector<Respuesta>& respuestas);

}  // namespace ventana
