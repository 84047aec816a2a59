// "Problemas en los datos de ESCOLAN" without widgets: every problem that the review of a folder finds
// (diagnostico/diagnostico.h), one row each with the value its field holds, their count, and the list as text
// for the clipboard and for a .txt file.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "diagnostico/diagnostico.h"
#include "run/interfaz_usuario.h"

namespace ventana {

// A row as the list shows it, in the columns of kDisenoProblemas.
struct FilaProblema {
  std::string tabla;     // "asignat.dbf"
  std::string registro;  // "12"; empty for the file as a whole
  std::string campo;     // "Horsemte"
  std::string valor;     // what the field holds: "3:30"
  std::string queOcurre;  // the runs' message and what they do there
  std::array<const std::string*, 5> Celdas() const { return {&tabla, &registro, &campo, &valor, &queOcurre}; }
};

FilaProblema FilaDe(const diagnostico::Problema& problema);

// The name the "Guardar…" dialog proposes.
inline constexpr const char* kArchivoProblemas = "problemas.txt";

class DialogoProblemas {
 public:
  // The problems of `carpeta`; `interfaz` shows a failure to save.
  DialogoProblemas(run::InterfazUsuario& interfaz, std::string carpeta, const std::vector<diagnostico::Problema>& problemas);

  const std::string& Carpeta() const { return carpeta_; }
  const std::vector<FilaProblema>& Filas() const { return filas_; }
  // The line above the list: the folder and the count ("C:\ESCOLAN: 3 problemas encontrados."), or that there
  // is no problem.
  std::string Resumen() const;
  // The dialog's title and summary, then one line per problem with its value, with `finDeLinea` after each
  // line (CR LF for a Windows text file and clipboard).
  std::string Texto(std::string_view finDeLinea = "\r\n") const;
  // Whether one of its problems is the one a run stopped on with the message `parada`: the problem's message is
  // the run's own, followed by what the run does there.
  bool Explica(const std::string& parada) const;
  // "Guardar…": the text at `ruta` (a Windows path), UTF-8 with its byte order mark, as Windows' Notepad
  // recognises it. A failure is the interface's error; whether it was saved.
  bool Guardar(const std::string& ruta);

 private:
  run::InterfazUsuario& interfaz_;
  std::string carpeta_;
  std::vector<FilaProblema> filas_;
  std::vector<std::string> lineas_;
};

}  // namespace ventana
