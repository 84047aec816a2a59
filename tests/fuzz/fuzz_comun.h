// What the fuzz targets share: a drive C: of their own made once per process, host files written and read
// back, a folder's state taken once and put back after each run, and the check that ends the process when a
// run breaks what the program promises (libFuzzer then keeps the input).
//
// Only C: is mapped: a damaged file that names another drive or folder (a journal's school folder, say)
// reaches nothing outside the drive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/drive_map.h"
#include "platform/platform.h"
#include "storage/storage.h"
#include "util/ascii.h"

namespace fuzz {

namespace fs = std::filesystem;

// Ends the process with a message on stderr: a broken promise, which libFuzzer reports as a crash.
[[noreturn]] inline void Fallo(const std::string& que) {
  std::fprintf(stderr, "\nFUZZ: %s\n", que.c_str());
  std::fflush(stderr);
  std::abort();
}

// An error the caller did not expect out of a run: its type's promise is broken.
[[noreturn]] inline void ErrorAjeno(const std::exception& error) {
  Fallo(std::string("an error that is not the program's own: ") + typeid(error).name() + ": " + error.what());
}

// The drive C: of the process: a new folder of the temporary folder ($TMPDIR), mapped as C: (and nothing
// else) with C:\ as the current folder; removed when the process ends normally.
class Unidad {
 public:
  Unidad() {
    std::random_device device;
    for (int intento = 0; intento < 100 && raiz_.empty(); ++intento) {
      char nombre[40];
      std::snprintf(nombre, sizeof nombre, "escolan-fuzz-%08x", static_cast<unsigned>(device()));
      fs::path carpeta = fs::temp_directory_path() / nombre;
      if (fs::create_directory(carpeta)) raiz_ = carpeta;
    }
    if (raiz_.empty()) Fallo("cannot create the drive's folder");
    platform::DriveMap unidades;
    unidades.Map('C', raiz_.string());
    platform::SetDriveMap(unidades);
    platform::SetCurrentFolder("C:\\");
  }
  ~Unidad() {
    std::error_code ignorado;
    fs::remove_all(raiz_, ignorado);
  }
  Unidad(const Unidad&) = delete;
  Unidad& operator=(const Unidad&) = delete;

  // The host path of a path relative to C:\ written with "/".
  fs::path Host(std::string_view relativa) const { return raiz_ / fs::path(std::string(relativa)); }

  void Escribir(std::string_view relativa, std::string_view bytes) const {
    fs::path ruta = Host(relativa);
    fs::create_directories(ruta.parent_path());
    std::ofstream salida(ruta, std::ios::binary | std::ios::trunc);
    salida.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!salida) Fallo("cannot write " + ruta.string());
  }
  void Escribir(std::string_view relativa, const std::uint8_t* data, std::size_t size) const {
    Escribir(relativa, std::string_view(reinterpret_cast<const char*>(data), size));
  }
  std::string Leer(std::string_view relativa) const { return LeerHost(Host(relativa)); }

  static std::string LeerHost(const fs::path& ruta) {
    std::ifstream entrada(ruta, std::ios::binary);
    if (!entrada) Fallo("cannot read " + ruta.string());
    return std::string(std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>());
  }

 private:
  fs::path raiz_;
};

// The drive of the process, made at first use.
inline Unidad& LaUnidad() {
  static Unidad unidad;
  return unidad;
}

// The files under a host folder, by their path relative to it, with their bytes.
using Archivos = std::map<std::string, std::string>;

inline Archivos LeerArbol(const fs::path& carpeta) {
  Archivos archivos;
  if (!fs::exists(carpeta)) return archivos;
  for (const auto& entrada : fs::recursive_directory_iterator(carpeta)) {
    std::string relativa = fs::relative(entrada.path(), carpeta).generic_string();
    if (entrada.is_directory()) {
      archivos[relativa + "/"] = "";
    } else {
      archivos[relativa] = Unidad::LeerHost(entrada.path());
    }
  }
  return archivos;
}

// A host folder as it was once: put back after each run, touching only what the run changed.
class Instantanea {
 public:
  explicit Instantanea(fs::path carpeta) : carpeta_(std::move(carpeta)) {
    for (const auto& [relativa, bytes] : LeerArbol(carpeta_)) {
      fs::path ruta = carpeta_ / relativa;
      archivos_[relativa] = {bytes, relativa.back() == '/' ? fs::file_time_type() : fs::last_write_time(ruta)};
    }
  }

  const fs::path& Carpeta() const { return carpeta_; }

  // Whether the folder holds exactly what it held, byte for byte; `diferencia` says what differs.
  bool Igual(std::string* diferencia = nullptr) const {
    Archivos ahora = LeerArbol(carpeta_);
    for (const auto& [relativa, guardado] : archivos_) {
      auto hay = ahora.find(relativa);
      if (hay == ahora.end() || hay->second != guardado.bytes) {
        if (diferencia) *diferencia = (hay == ahora.end() ? "missing: " : "changed: ") + relativa;
        return false;
      }
    }
    for (const auto& [relativa, bytes] : ahora) {
      if (!archivos_.count(relativa)) {
        if (diferencia) *diferencia = "new: " + relativa;
        return false;
      }
    }
    return true;
  }

  // Puts the folder back: removes what is new, writes again what changed or went.
  void Reponer() const {
    std::error_code error;
    if (!fs::exists(carpeta_)) fs::create_directories(carpeta_);
    for (auto it = fs::recursive_directory_iterator(carpeta_); it != fs::recursive_directory_iterator();) {
      std::string relativa = fs::relative(it->path(), carpeta_).generic_string();
      bool carpeta = it->is_directory();
      if (!archivos_.count(carpeta ? relativa + "/" : relativa)) {
        fs::path ruta = it->path();
        if (carpeta) it.disable_recursion_pending();
        it.increment(error);
        fs::permissions(ruta, fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(ruta, error);
        if (error) Fallo("cannot remove " + ruta.string());
        continue;
      }
      it.increment(error);
    }
    for (const auto& [relativa, guardado] : archivos_) {
      fs::path ruta = carpeta_ / relativa;
      if (relativa.back() == '/') {
        fs::create_directories(ruta);
        continue;
      }
      // A file written again gets a new time: the same size and time is the same file.
      bool igual = fs::exists(ruta) && fs::file_size(ruta) == guardado.bytes.size() &&
                   fs::last_write_time(ruta) == guardado.hora;
      if (igual) continue;
      fs::permissions(ruta.parent_path(), fs::perms::owner_all, fs::perm_options::add, error);
      fs::remove(ruta, error);
      std::ofstream salida(ruta, std::ios::binary | std::ios::trunc);
      salida.write(guardado.bytes.data(), static_cast<std::streamsize>(guardado.bytes.size()));
      if (!salida) Fallo("cannot write " + ruta.string());
      salida.close();
      fs::last_write_time(ruta, guardado.hora, error);
    }
  }

 private:
  struct Guardado {
    std::string bytes;
    fs::file_time_type hora;
  };
  fs::path carpeta_;
  std::map<std::string, Guardado> archivos_;
};

// Whether `texto` holds `parte`, without regard to ASCII letter case.
inline bool Contiene(std::string_view texto, std::string_view parte) {
  return util::ToLowerAscii(texto).find(util::ToLowerAscii(parte)) != std::string::npos;
}

// Whether an error's message names the damaged file `nombre`, or is one of the table layer's messages about a
// field or a value of a table, which say which field or value instead, word for word as the user has always
// read them ("'X' no es un valor entero válido").
inline bool NombraElArchivo(std::string_view mensaje, std::string_view nombre) {
  if (mensaje.empty()) return false;
  if (Contiene(mensaje, nombre)) return true;
  for (std::string_view campo : {"no es un valor", "no es una fecha válida", "No se encuentra el campo '"}) {
    if (Contiene(mensaje, campo)) return true;
  }
  return false;
}

// Runs `leer`: the table layer's error is what a damaged file may end in (with a message); any other is not.
template <typename Accion>
void SoloErroresDeTabla(Accion&& leer) {
  try {
    leer();
  } catch (const storage::DatabaseError& error) {
    if (std::string_view(error.what()).empty()) Fallo("the table layer's error without a message");
  } catch (const std::exception& error) {
    ErrorAjeno(error);
  }
}

// Every field of the current record read every way the table object reads one (with `todas`; else only its
// value, its text and what it shows); a field that does not read as a type gives the table layer's error,
// which is caught field by field so that the others are read too.
inline void LeerCampos(storage::Table& tabla, bool todas = true) {
  for (std::size_t i = 0; i < tabla.Fields().size(); ++i) {
    const std::string& nombre = tabla.Fields()[i].name;
    SoloErroresDeTabla([&] { tabla.Value(i); });
    SoloErroresDeTabla([&] { tabla.IsNull(nombre); });
    SoloErroresDeTabla([&] { tabla.AsString(nombre); });
    SoloErroresDeTabla([&] { tabla.DisplayText(nombre); });
    SoloErroresDeTabla([&] { tabla.MemoText(nombre); });
    // A conversion that fails throws, which is slow under the sanitizers: the ways that may fail are tried on
    // the first records only.
    if (!todas) continue;
    SoloErroresDeTabla([&] { tabla.AsInteger(nombre); });
    SoloErroresDeTabla([&] { tabla.AsFloat(nombre); });
    SoloErroresDeTabla([&] { tabla.AsDate(nombre); });
    SoloErroresDeTabla([&] { tabla.AsBoolean(nombre); });
  }
}

// The table at `ruta` (a Windows path) opened and every record walked, in stored order or in the order of the
// tag `indice`; every field read of the first `leidos` records (past them the same code reads the same way,
// and a run stays cheap on a table of thousands of records), every way of the first three.
inline void LeerTabla(storage::Engine& engine, const std::string& ruta, const std::string& indice = "",
                      int leidos = 24) {
  SoloErroresDeTabla([&] {
    storage::Table tabla(engine);
    tabla.SetTableName(ruta);
    tabla.SetIndexName(indice);
    tabla.Open();
    tabla.RecordCount();
    int n = 0;
    for (tabla.First(); !tabla.Eof(); tabla.Next()) {
      tabla.RecNo();
      if (n < leidos) LeerCampos(tabla, n < 3);
      ++n;
    }
  });
}

}  // namespace fuzz
