// What the window toolkits offer the window library beyond the runs' interface (run/interfaz_usuario.h): the
// two list dialogs of the window menu, shown modally, and a question with Sí and No. The dialogs' designs are
// here too, in the design types of ventana/diseno.h, so that both toolkits draw the same dialog.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ventana/diseno.h"

namespace ventana {

class DialogoProblemas;
class DialogoCopias;

class Dialogos {
 public:
  virtual ~Dialogos() = default;
  // "Problemas en los datos de ESCOLAN", modal: returns when the user has closed it. Its buttons call the
  // dialog's model: "Copiar" puts Texto() on the clipboard, "Guardar…" asks for a file and calls Guardar.
  virtual void MostrarProblemas(DialogoProblemas& dialogo) = 0;
  // "Copias de los horarios", modal. "Ver horarios" and "Restaurar" call the model for the selected row.
  virtual void MostrarCopias(DialogoCopias& dialogo) = 0;
  // A question captioned with the application's title, with the buttons "Sí" and "No" (Escape is No):
  // whether the user answered Sí.
  virtual bool Preguntar(const std::string& texto) = 0;
};

// A list dialog's design: its caption, its client area, a line of text above the list, the list with its
// columns, and its buttons in a row under the list, the last one closing it (Escape too).
struct Columna {
  std::string_view titulo;
  int ancho = 0;
};

template <std::size_t kColumnas, std::size_t kBotones>
struct DisenoLista {
  std::string_view titulo;
  int ancho = 0;  // the client area
  int alto = 0;
  Letra letra;    // every text of the dialog
  Caja resumen;   // the line above the list
  Caja lista;
  std::array<Columna, kColumnas> columnas;
  std::array<Control, kBotones> botones;
};

inline constexpr Letra kLetraDialogos{"MS Sans Serif", 8};

// "Problemas en los datos de ESCOLAN": Copiar, Guardar…, Cerrar.
inline constexpr DisenoLista<5, 3> kDisenoProblemas{
    "Problemas en los datos de ESCOLAN",
    780,
    440,
    kLetraDialogos,
    {8, 8, 764, 20},
    {8, 32, 764, 364},
    {{{"Tabla", 90}, {"Registro", 62}, {"Campo", 90}, {"Valor", 110}, {"Qué ocurre", 405}}},
    {{{"BCopiar", 0, {492, 406, 88, 26}, "Copiar", kLetraDialogos},
      {"BGuardar", 0, {588, 406, 88, 26}, "Guardar…", kLetraDialogos},
      {"BCerrar", 0, {684, 406, 88, 26}, "Cerrar", kLetraDialogos}}},
};

// "Copias de los horarios": Ver horarios, Restaurar, Cerrar.
inline constexpr DisenoLista<5, 3> kDisenoCopias{
    "Copias de los horarios",
    720,
    360,
    kLetraDialogos,
    {8, 8, 704, 20},
    {8, 32, 704, 284},
    {{{"Fecha", 80}, {"Hora", 64}, {"horgrup", 84}, {"horprof", 84}, {"Carpeta", 388}}},
    {{{"BVerHorarios", 0, {432, 326, 88, 26}, "Ver horarios", kLetraDialogos},
      {"BRestaurar", 0, {528, 326, 88, 26}, "Restaurar", kLetraDialogos},
      {"BCerrar", 0, {624, 326, 88, 26}, "Cerrar", kLetraDialogos}}},
};

}  // namespace ventana
