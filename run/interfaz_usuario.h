// How the export and import runs reach the user: the one small interface that each front end (the window,
// the command line, the tests) implements.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace run {

class Revision;

class InterfazUsuario {
 public:
  virtual ~InterfazUsuario() = default;

  // A modal message without icon, captioned with the application's title, one button "Aceptar"; returns
  // when the user has closed it.
  virtual void MostrarMensaje(const std::string& texto) = 0;
  // The application's default error handler: the error's message in a modal box with a stop icon.
  virtual void MostrarError(const std::string& texto) = 0;
  // The application-wide hourglass cursor on or off.
  virtual void CursorEspera(bool activo) = 0;
  // A review of the import (run/revision.h): the window shows it as a modal dialog and returns when the user
  // has closed it; the command line applies its options to it.
  virtual void Revisar(Revision& revision) = 0;
  // Closes the main window, which ends the program.
  virtual void CerrarVentanaPrincipal() = 0;
  // A step of a run is about to start (the command line shows it as progress; the window shows nothing).
  virtual void PasoIniciado(std::string_view /*paso*/) {}
  // An import wrote the printable page of the timetables at `ruta` (the command line says where; the
  // window says nothing: the page is beside the import's backup).
  virtual void PaginaHorariosEscrita(const std::string& /*ruta*/) {}
};

// The hourglass on while it lives.
class CursorEsperaActivo {
 public:
  explicit CursorEsperaActivo(InterfazUsuario& interfaz) : interfaz_(interfaz) { interfaz_.CursorEspera(true); }
  ~CursorEsperaActivo() { interfaz_.CursorEspera(false); }
  CursorEsperaActivo(const CursorEsperaActivo&) = delete;
  CursorEsperaActivo& operator=(const CursorEsperaActivo&) = delete;

 private:
  InterfazUsuario& interfaz_;
};

// The message the user reads for an error: its own; for a file held open by another program (code 32, a table
// in use, or 33, a part of it locked), a line after it that names the file and what to do (LineaArchivoEnUso).
std::string MensajeDeError(const std::exception& error);
// "C:\ESCOLAN\horprof.dbf está abierto en otro programa. Cierre ESCOLAN y vuelva a intentarlo.": ESCOLAN for a
// file of a school's folder, Horvane for one of C:\HTEMP (the generator's tables), and the program that
// holds it for the program's own folders under C:\HTEMP.
std::string LineaArchivoEnUso(std::string_view ruta);

// Runs an event handler the way the application runs every handler: an error ends it, and its message
// (MensajeDeError) goes to the default error handler. Returns whether the handler ended without an error.
bool EjecutarManejador(InterfazUsuario& interfaz, const std::function<void()>& manejador);

}  // namespace run
