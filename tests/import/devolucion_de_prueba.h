// The fixture of the import's copy back under injected file faults and under kills, on the small sample school:
// exported through the main window, every teacher given an identity number, and a solution of a few lessons
// taken from the exported teaching load; what the next start must leave after a kill; a backup to restore.
// Shared by the tests that kill with a signal (POSIX) and those that end a child process (Windows).
//
// What every case holds the import to: C:\ESCOLAN keeps both old or both new timetables, never one of each,
// and no temporary copy stays beside them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "import/devolucion.h"
#include "muestra/muestra_escolan.h"
#include "platform/platform.h"
#include "run/bloqueo.h"
#include "run/rutas.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"
#include "sesion/sesion.h"

namespace devolucion_testing {

namespace fs = std::filesystem;

using importacion::FinImportacion;
using platform::FileOperation;
using testing_support::InterfazGuionada;
using Sucesos = std::vector<std::string>;
using Nombres = std::vector<std::string>;

// Lessons in the solution: enough for a real transfer, few enough that one import has few file operations.
inline constexpr int kClases = 6;

inline const std::string kError = "error: ";
inline const std::string kCierre = std::string("mensaje: ") + importacion::kMensajeFinImportacion;
inline const std::string kRechazo = std::string("error: ") + run::kMensajeOtraEjecucion;

inline bool Empieza(const std::string& texto, const std::string& principio) { return texto.rfind(principio, 0) == 0; }

// Whether a file name is one of the copies' temporary files ("~copia-...", in any case).
inline bool EsTemporal(const std::string& nombre) {
  std::string_view prefijo = run::kPrefijoTemporal;
  return nombre.size() >= prefijo.size() && platform::SameName(nombre.substr(0, prefijo.size()), prefijo);
}

inline std::size_t Contar(const Sucesos& sucesos, const std::string& principio) {
  std::size_t n = 0;
  for (const std::string& s : sucesos) n += Empieza(s, principio) ? 1 : 0;
  return n;
}

inline std::string Texto(const Sucesos& sucesos) {
  std::string texto;
  for (const std::string& s : sucesos) texto += "\n  [" + s + "]";
  return texto;
}

// The message of the recovery, as the user reads it.
inline std::string MensajeRecuperacion(const char* plantilla) {
  std::string texto = plantilla;
  texto.replace(texto.find("%s"), 2, "C:\\ESCOLAN");
  return "mensaje: " + texto;
}

// ESCOLAN's two timetables, byte for byte.
struct Par {
  std::string horgrup;
  std::string horprof;
  bool operator==(const Par&) const = default;
};

// One file operation as the fault hook sees it.
struct Operacion {
  FileOperation tipo;
  std::string ruta;
};

inline const char* NombreDe(FileOperation tipo) {
  switch (tipo) {
    case FileOperation::kOpen: return "open";
    case FileOperation::kCreate: return "create";
    case FileOperation::kRead: return "read";
    case FileOperation::kWrite: return "write";
    case FileOperation::kFlush: return "flush";
    case FileOperation::kTruncate: return "truncate";
    case FileOperation::kRename: return "rename";
    case FileOperation::kDelete: return "delete";
    case FileOperation::kCreateFolder: return "create folder";
  }
  return "?";
}

inline std::string Describir(const Operacion& op) { return std::string(NombreDe(op.tipo)) + " " + op.ruta; }

inline bool EnCarpeta(const std::string& ruta, std::string_view carpeta) {
  return ruta.size() >= carpeta.size() && platform::SameName(ruta.substr(0, carpeta.size()), carpeta) &&
         (ruta.size() == carpeta.size() || ruta[carpeta.size()] == '\\');
}

inline bool EnCarpetaCopias(const std::string& ruta) { return EnCarpeta(ruta, run::kCarpetaCopias); }
// One of the school's own files (not a temporary one beside them).
inline bool EsDestino(const std::string& ruta) {
  return EnCarpeta(ruta, run::kCarpetaEscolan) && !EsTemporal(std::string(platform::FileNamePart(ruta)));
}

// How one import ended, as the user saw it.
struct Resultado {
  std::optional<FinImportacion> fin;  // nothing when an error ended it
  Sucesos sucesos;
};

class DevolucionTest : public ::testing::Test {
 public:
  void SetUp() override {
    muestra::EscribirMuestraEscolan("C:\\ESCOLAN", muestra::TamanoMuestra::kPequena);
    {
      storage::Engine engine(',');
      InterfazGuionada interfaz;
      sesion::Sesion sesion(engine, interfaz);
      sesion.PrepararCarpeta("C:\\ESCOLAN");
      ASSERT_TRUE(run::EjecutarManejador(interfaz, [&] { sesion.Exportar(exportacion::Idioma::kValenciano); }))
          << Texto(interfaz.sucesos);
      testing_support::DarDniATodos(engine);
      EscribirSolucion(engine);
    }
    viejo_ = ParDeEscolan();

    // One complete import: its pair is the new one, and the staging as it leaves it is what every later
    // run starts from (with the class-period template already there).
    Resultado primera = Importar();
    ASSERT_EQ(primera.fin, FinImportacion::kCompleta) << Texto(primera.sucesos);
    nuevo_ = ParDeEscolan();
    ASSERT_NE(nuevo_.horgrup, viejo_.horgrup);
    ASSERT_NE(nuevo_.horprof, viejo_.horprof);
    for (const auto& entrada : fs::directory_iterator(unidad_.Host("HTEMP/VALENCIA"))) {
      std::string nombre = entrada.path().filename().string();
      preparados_[nombre] = unidad_.ReadHostFile("HTEMP/VALENCIA/" + nombre);
    }
    Reponer();
  }

  void TearDown() override { platform::SetFileOperationHook(nullptr); }


  // The generator's solution: kClases lessons, one per record of the exported teaching load.
  static void EscribirSolucion(storage::Engine& engine) {
    ASSERT_EQ(testing_support::EscribirSolucionDesdeAsigt(engine, kClases), kClases);
  }

  // One import in a session of its own, for the folder's first centre, as a window runs it (errors go to the
  // default error handler). `hook` sees every file operation from the import's start on.
  static Resultado Importar(platform::FileOperationHook hook = nullptr) {
    Resultado resultado;
    storage::Engine engine(',');
    InterfazGuionada interfaz;
    sesion::Sesion sesion(engine, interfaz);
    std::vector<std::string> centros;
    sesion.LeerCentros(centros);
    platform::SetFileOperationHook(std::move(hook));
    run::EjecutarManejador(interfaz, [&] { resultado.fin = sesion.Importar(centros.empty() ? "" : centros.front()); });
    platform::SetFileOperationHook(nullptr);
    resultado.sucesos = interfaz.sucesos;
    return resultado;
  }

  // Every file operation of one complete import, in order. A complete run from the same start always
  // leaves the same new pair (the transfer rewrites the staged copies from the solution): the cases rely on it.
  std::vector<Operacion> OperacionesDeUnaImportacion() {
    std::vector<Operacion> operaciones;
    Resultado resultado = Importar([&](FileOperation tipo, std::string_view ruta) {
      operaciones.push_back({tipo, std::string(ruta)});
    });
    EXPECT_EQ(resultado.fin, FinImportacion::kCompleta) << Texto(resultado.sucesos);
    EXPECT_TRUE(ParDeEscolan() == nuevo_) << Estado(ParDeEscolan());
    return operaciones;
  }

  // The next start's recovery, in a session of its own; `hook` sees its file operations.
  static Sucesos Recuperar(platform::FileOperationHook hook = nullptr) {
    storage::Engine engine(',');
    InterfazGuionada interfaz;
    sesion::Sesion sesion(engine, interfaz);
    platform::SetFileOperationHook(std::move(hook));
    run::EjecutarManejador(interfaz, [&] { sesion.RecuperarCopiaInterrumpida(); });
    platform::SetFileOperationHook(nullptr);
    return interfaz.sucesos;
  }

  Par ParDeEscolan() const { return {Leer("ESCOLAN/horgrup.dbf"), Leer("ESCOLAN/horprof.dbf")}; }
  std::string Leer(const std::string& relativa) const {
    return fs::exists(unidad_.Host(relativa)) ? unidad_.ReadHostFile(relativa) : "(no existe)";
  }
  std::string Estado(const Par& par) const {
    auto uno = [&](const std::string& bytes, const std::string& viejo, const std::string& nuevo) {
      return bytes == viejo ? "old" : bytes == nuevo ? "new" : bytes == "(no existe)" ? "missing" : "other";
    };
    return std::string("horgrup ") + uno(par.horgrup, viejo_.horgrup, nuevo_.horgrup) + ", horprof " +
           uno(par.horprof, viejo_.horprof, nuevo_.horprof);
  }

  // The temporary files in a host folder.
  Nombres Temporales(const std::string& relativa) const {
    std::vector<std::string> temporales;
    for (const std::string& nombre : unidad_.HostEntries(relativa)) {
      if (EsTemporal(nombre)) temporales.push_back(nombre);
    }
    return temporales;
  }
  // The backup folders under C:\HTEMP\COPIAS, by their host names.
  Nombres Copias() const {
    std::vector<std::string> copias;
    if (!fs::exists(unidad_.Host("HTEMP/COPIAS"))) return copias;
    for (const auto& entrada : fs::directory_iterator(unidad_.Host("HTEMP/COPIAS"))) {
      if (entrada.is_directory()) copias.push_back(entrada.path().filename().string());
    }
    return copias;
  }
  // The copy backs' journals left anywhere under C:\HTEMP\COPIAS.
  Nombres Diarios() const {
    std::vector<std::string> diarios;
    if (!fs::exists(unidad_.Host("HTEMP/COPIAS"))) return diarios;
    for (const auto& entrada : fs::recursive_directory_iterator(unidad_.Host("HTEMP/COPIAS"))) {
      if (platform::SameName(entrada.path().filename().string(), "DIARIO.TXT")) diarios.push_back(entrada.path().string());
    }
    return diarios;
  }

  // Back to the start of every run: the school's old pair, no backups, and the staging as the first
  // complete import left it.
  void Reponer() {
    unidad_.WriteHostFile("ESCOLAN/horgrup.dbf", viejo_.horgrup);
    unidad_.WriteHostFile("ESCOLAN/horprof.dbf", viejo_.horprof);
    fs::remove_all(unidad_.Host("HTEMP/COPIAS"));
    fs::remove_all(unidad_.Host("HTEMP/VALENCIA"));
    unidad_.MakeHostFolder("HTEMP/VALENCIA");
    for (const auto& [nombre, bytes] : preparados_) unidad_.WriteHostFile("HTEMP/VALENCIA/" + nombre, bytes);
  }

  // The number (from 1) of the first operation of `operaciones` of kind `tipo` whose path `es` accepts, after
  // the one numbered `despues`; 0 when there is none.
  static std::size_t Buscar(const std::vector<Operacion>& operaciones, FileOperation tipo,
                            const std::function<bool(const std::string&)>& es, std::size_t despues = 0) {
    for (std::size_t i = despues; i < operaciones.size(); ++i) {
      if (operaciones[i].tipo == tipo && es(operaciones[i].ruta)) return i + 1;
    }
    return 0;
  }


  // Where an import's copy back stands among its file operations (numbered from 1): its first operation (its
  // backup folder), the first after both backups are on disk (the folder's ORIGEN.TXT), the journal's
  // confirmation just before the first move over the school's files, that move, and the journal cleared (the
  // copy back is over; what the run does after it, the printable page, leaves nothing for the next start).
  struct PuntosDeLaCopia {
    std::size_t primeraDeLaCopia = 0;
    std::size_t respaldoHecho = 0;
    std::size_t confirmacion = 0;
    std::size_t primerMovimiento = 0;
    std::size_t diarioBorrado = 0;
  };
  static void BuscarPuntosDeLaCopia(const std::vector<Operacion>& operaciones, PuntosDeLaCopia& puntos) {
    auto esDiario = [](const std::string& ruta) { return platform::SameName(platform::FileNamePart(ruta), "DIARIO.TXT"); };
    puntos.primeraDeLaCopia = Buscar(operaciones, FileOperation::kCreateFolder, EnCarpetaCopias);
    puntos.respaldoHecho = Buscar(operaciones, FileOperation::kCreate, [](const std::string& ruta) {
      return EnCarpetaCopias(ruta) && platform::SameName(platform::FileNamePart(ruta), "ORIGEN.TXT");
    });
    puntos.primerMovimiento = Buscar(operaciones, FileOperation::kRename, EsDestino);
    ASSERT_TRUE(puntos.primeraDeLaCopia != 0 && puntos.respaldoHecho > puntos.primeraDeLaCopia &&
                puntos.primerMovimiento > puntos.respaldoHecho);
    ASSERT_EQ(operaciones[puntos.primerMovimiento - 2].tipo, FileOperation::kRename);
    ASSERT_TRUE(esDiario(operaciones[puntos.primerMovimiento - 2].ruta));
    puntos.confirmacion = puntos.primerMovimiento - 1;
    puntos.diarioBorrado = Buscar(operaciones, FileOperation::kDelete, esDiario, puntos.primerMovimiento);
    ASSERT_GT(puntos.diarioBorrado, puntos.primerMovimiento);
  }

  // The next start after a kill. Its recovery must leave both old or both new timetables, no temporary file
  // in the school's folder or the staging folder and no journal, and tell the user which way it went when a
  // journal was there; with none, the school's folder was never touched. A second start finds nothing to do.
  // With `conRespaldo` the kill came after the backup was made, which must hold the old pair; with
  // `yaResuelta` an earlier recovery may have settled the copy back already. Gives whether the pair is the
  // new one.
  bool ComprobarSiguienteArranque(bool conRespaldo, bool yaResuelta = false) {
    bool habiaDiario = !Diarios().empty();
    Sucesos sucesos = Recuperar();
    Par par = ParDeEscolan();
    EXPECT_TRUE(par == viejo_ || par == nuevo_) << Estado(par);
    bool nuevo = par == nuevo_;
    EXPECT_EQ(Temporales("ESCOLAN"), Nombres{});
    EXPECT_EQ(Temporales("HTEMP/VALENCIA"), Nombres{});
    EXPECT_EQ(Diarios(), Nombres{});
    if (habiaDiario) {
      EXPECT_EQ(sucesos, Sucesos{MensajeRecuperacion(nuevo ? importacion::kMensajeDevolucionCompletada
                                                           : importacion::kMensajeDevolucionDeshecha)})
          << Estado(par);
    } else {
      EXPECT_EQ(sucesos, Sucesos{});
      if (!yaResuelta) {
        EXPECT_TRUE(par == viejo_) << Estado(par);
      }
    }
    if (conRespaldo) {
      Nombres copias = Copias();
      EXPECT_EQ(copias.size(), 1u);
      if (copias.size() == 1) {
        EXPECT_TRUE(Leer("HTEMP/COPIAS/" + copias[0] + "/horgrup.dbf") == viejo_.horgrup);
        EXPECT_TRUE(Leer("HTEMP/COPIAS/" + copias[0] + "/horprof.dbf") == viejo_.horprof);
      }
    }
    EXPECT_EQ(Recuperar(), Sucesos{});
    EXPECT_TRUE(ParDeEscolan() == par);
    return nuevo;
  }

  testing_support::TemporaryDrive unidad_;
  Par viejo_;
  Par nuevo_;
  std::map<std::string, std::string> preparados_;
};


// ---------------------------------------------------------------------------------------------------------
// Restoring a backup: the same copy back

inline constexpr const char* kSelloViejo = "20260101-080000";

// The school holds the new pair and C:\HTEMP\COPIAS a backup of the old one, as an earlier import left it.
inline void PrepararRestauracion(testing_support::TemporaryDrive& unidad, const Par& viejo, const Par& nuevo) {
  unidad.WriteHostFile("ESCOLAN/horgrup.dbf", nuevo.horgrup);
  unidad.WriteHostFile("ESCOLAN/horprof.dbf", nuevo.horprof);
  const std::string copia = std::string("HTEMP/COPIAS/") + kSelloViejo;
  unidad.MakeHostFolder(copia);
  unidad.WriteHostFile(copia + "/horgrup.dbf", viejo.horgrup);
  unidad.WriteHostFile(copia + "/horprof.dbf", viejo.horprof);
  unidad.WriteHostFile(copia + "/ORIGEN.TXT", "C:\\ESCOLAN\n");
}

// The restore of the old pair in a session of its own, as a window runs it; `hook` sees its file operations.
inline Sucesos Restaurar(platform::FileOperationHook hook = nullptr) {
  storage::Engine engine(',');
  InterfazGuionada interfaz;
  sesion::Sesion sesion(engine, interfaz);
  sesion.CambiarCarpeta("C:\\ESCOLAN");
  platform::SetFileOperationHook(std::move(hook));
  run::EjecutarManejador(interfaz, [&] { sesion.RestaurarCopia(kSelloViejo); });
  platform::SetFileOperationHook(nullptr);
  return interfaz.sucesos;
}

}  // namespace devolucion_testing
