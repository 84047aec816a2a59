// The one set of types the windows' designs are written in: colours, boxes, fonts and the alignment of a
// text. Boxes are in pixels at 96 dots per inch (a window on another monitor scales them); fonts are named by
// face and size in points. Each window toolkit turns them into its own kinds once.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ventana {

struct Rgb {
  std::uint8_t rojo = 0;
  std::uint8_t verde = 0;
  std::uint8_t azul = 0;
  bool operator==(const Rgb&) const = default;
};

// A colour of a design: a fixed one, or one of the system's colours, with its value in Windows' standard
// scheme for a window system that does not report it.
struct Color {
  enum class Sistema { kNinguno, kEscritorio, kResalte };  // none, the desktop, hot-tracked items
  Rgb rgb;
  Sistema sistema = Sistema::kNinguno;
  bool operator==(const Color&) const = default;
};

// Left, top, width and height.
struct Caja {
  int izquierda = 0;
  int arriba = 0;
  int ancho = 0;
  int alto = 0;
  constexpr int Derecha() const { return izquierda + ancho; }
  constexpr int Abajo() const { return arriba + alto; }
  bool operator==(const Caja&) const = default;
};

// A font by face and size in points.
struct Letra {
  std::string_view cara;
  int puntos = 8;
  bool negrita = false;
  bool subrayada = false;
  bool operator==(const Letra&) const = default;
};

enum class Alineacion { kIzquierda, kCentrada };

// A panel painted with a vertical gradient from `inicio` at the top through `medio` halfway to `fin` at the
// bottom; the other controls stand on a panel, their boxes counted from its top left corner.
struct Panel {
  std::string_view nombre;
  Caja caja;  // in the window's client area
  Color inicio;
  Color medio;
  Color fin;
};

// A label: transparent over its panel unless it has a background of its own, its text at the top of its box;
// a wrapped one (`ajustada`) wraps at word boundaries inside the box.
struct Etiqueta {
  std::string_view nombre;
  int panel = 0;  // the window's panel it stands on
  Caja caja;
  std::string_view texto;
  Letra letra;
  Color color;
  bool ajustada = false;
  Alineacion alineacion = Alineacion::kIzquierda;
  std::optional<Color> fondo = {};
};

// The standard glyph a button shows beside its caption.
enum class Glifo { kNinguno, kCerrar, kAceptar };

// A control the user works with.
struct Control {
  std::string_view nombre;
  int panel = 0;  // the window's panel it stands on
  Caja caja;
  std::string_view texto;  // a button's caption ("&" marks its access key)
  Letra letra;
  std::optional<Color> tinta = {};  // the text's colour, where it is not the system's
  std::optional<Color> fondo = {};  // the background behind the text, where it is not the system's
  Glifo glifo = Glifo::kNinguno;
};

}  // namespace ventana
