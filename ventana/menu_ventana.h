// The window menu: the orders the main window offers beside its buttons, each with its keyboard shortcut.
// On Windows they are items of the window's own system menu (the caption icon's menu, Alt+Space); on Linux
// a context menu of the window's panels. The window's client area, controls and look are not changed by it.
#pragma once

#include <array>
#include <string>

namespace ventana {

enum class OrdenMenu { kRevisarDatos, kVerHorarios, kCopiasHorarios, kManual, kAcercaDe };

struct ElementoMenu {
  OrdenMenu orden;
  const char* texto;
  char letraControl;     // the shortcut: Ctrl and this letter; 0 when it is a function key
  int teclaFuncion = 0;  // the shortcut: this function key alone (1 for F1), when there is no letter
};

// The manual's shortcut is F1 alone, the key Windows programs open their help with; the other orders keep
// Ctrl and a letter, since a plain letter goes to the control with the focus.
inline constexpr std::array<ElementoMenu, 5> kMenuVentana{{
    {OrdenMenu::kRevisarDatos, "Revisar los datos de ESCOLAN…", 'R'},
    {OrdenMenu::kVerHorarios, "Ver los horarios…", 'H'},
    {OrdenMenu::kCopiasHorarios, "Copias de los horarios…", 'K'},
    {OrdenMenu::kManual, "Ayuda: manual de uso…", 0, 1},
    {OrdenMenu::kAcercaDe, "Acerca de…", 'I'},
}};

// The shortcut as the menu shows it: "Ctrl+R", "F1".
inline std::string TextoAtajo(const ElementoMenu& elemento) {
  if (elemento.letraControl == 0) return "F" + std::to_string(elemento.teclaFuncion);
  return std::string("Ctrl+") + elemento.letraControl;
}

// The item whose shortcut is Ctrl and `letra` (either case), or none.
inline const ElementoMenu* ElementoDeAtajo(char letra) {
  if (letra >= 'a' && letra <= 'z') letra = static_cast<char>(letra - 'a' + 'A');
  if (letra == 0) return nullptr;
  for (const ElementoMenu& elemento : kMenuVentana) {
    if (elemento.letraControl == letra) return &elemento;
  }
  return nullptr;
}

// The item whose shortcut is the function key `tecla` alone (1 for F1), or none.
inline const ElementoMenu* ElementoDeTeclaFuncion(int tecla) {
  for (const ElementoMenu& elemento : kMenuVentana) {
    if (elemento.letraControl == 0 && elemento.teclaFuncion == tecla) return &elemento;
  }
  return nullptr;
}

}  // namespace ventana
