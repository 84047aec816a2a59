// The window menu: the orders the main window offers beside its buttons, each with its keyboard shortcut.
// On Windows they are items of the window's own system menu (the caption icon's menu, Alt+Space); on Linux
// a context menu of the window's panels. The window's client area, controls and look are not changed by it.
#pragma once

#include <array>
#include <string>

namespace ventana {

enum class OrdenMenu { kRevisarDatos, kVerHorarios, kCopiasHorarios, kAcercaDe };

struct ElementoMenu {
  OrdenMenu orden;
  const char* texto;
  char letraControl;  // the shortcut: Ctrl and this letter
};

inline constexpr std::array<ElementoMenu, 4> kMenuVentana{{
    {OrdenMenu::kRevisarDatos, "Revisar los datos de ESCOLAN…", 'R'},
    {OrdenMenu::kVerHorarios, "Ver los horarios…", 'H'},
    {OrdenMenu::kCopiasHorarios, "Copias de los horarios…", 'K'},
    {OrdenMenu::kAcercaDe, "Acerca de…", 'I'},
}};

// The shortcut as the menu shows it: "Ctrl+R".
inline std::string TextoAtajo(const ElementoMenu& elemento) { return std::string("Ctrl+") + elemento.letraControl; }

// The item whose shortcut is Ctrl and `letra` (either case), or none.
inline const ElementoMenu* ElementoDeAtajo(char letra) {
  if (letra >= 'a' && letra <= 'z') letra = static_cast<char>(letra - 'a' + 'A');
  for (const ElementoMenu& elemento : kMenuVentana) {
    if (elemento.letraControl == letra) return &elemento;
  }
  return nullptr;
}

}  // namespace ventana
