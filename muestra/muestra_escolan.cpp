// The sample ESCOLAN folder: the invented school of muestra_escolan_datos laid out byte by byte as ESCOLAN's
// tables. Each file is built whole in memory and written with one write.
#include "muestra/muestra_escolan.h"

#include <cstring>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "muestra/muestra_escolan_datos.h"
#include "platform/platform.h"
#include "run/rutas.h"
#include "storage/code_page.h"
#include "storage/dbf_format.h"
#include "storage/memo_format.h"

namespace muestra {
namespace {

namespace dbf = storage::dbf;

// Language drivers: ESCOLAN's older tables are in the DOS code page, the newer ones in the Windows one.
constexpr std::uint8_t kCp850 = 0x02;
constexpr std::uint8_t kCp1252 = 0x03;

// The block size of alumnos.fpt.
constexpr std::uint16_t kBloqueMemos = 64;

// ---------------------------------------------------------------------------------------------------------
// Field descriptions

dbf::FieldSpec Texto(std::string nombre, std::uint32_t ancho) { return {std::move(nombre), 'C', ancho, 0, false}; }
dbf::FieldSpec Numero(std::string nombre, std::uint32_t ancho, std::uint8_t decimales = 0) {
  return {std::move(nombre), 'N', ancho, decimales, false};
}
dbf::FieldSpec Entero(std::string nombre) { return Numero(std::move(nombre), 4); }     // a smallint
dbf::FieldSpec Real(std::string nombre) { return Numero(std::move(nombre), 10); }      // a floating-point number
dbf::FieldSpec Fecha(std::string nombre) { return {std::move(nombre), 'D', 8, 0, false}; }
dbf::FieldSpec Logico(std::string nombre) { return {std::move(nombre), 'L', 1, 0, false}; }
dbf::FieldSpec Memo(std::string nombre) { return {std::move(nombre), 'M', 10, 0, false}; }
dbf::FieldSpec Indexado(dbf::FieldSpec campo) {
  campo.indexed = true;
  return campo;
}

// ---------------------------------------------------------------------------------------------------------
// A table in memory: its header and its records, one record at a time.

class TablaNueva {
 public:
  TablaNueva(const std::vector<dbf::FieldSpec>& campos, std::uint8_t idioma, bool indiceDeProduccion = false)
      : cabecera_(dbf::BuildHeader(campos, idioma, kFechaTablas, indiceDeProduccion)),
        layout_(dbf::ParseHeader(cabecera_)),
        codePage_(storage::CodePage::ForLanguageDriver(idioma)),
        blanco_(dbf::BlankRecord(layout_)) {}

  // Starts a record, every field empty.
  void Registro(bool borrado) {
    actual_ = registros_.size();
    registros_.insert(registros_.end(), blanco_.begin(), blanco_.end());
    if (borrado) registros_[actual_] = std::byte{'*'};
    ++cuenta_;
  }

  void Texto(std::string_view campo, std::string_view utf8) {
    dbf::EncodeText(Campo(campo), codePage_.Encode(utf8), Actual());
  }

  void Numero(std::string_view campo, double valor) {
    if (!dbf::EncodeNumber(Campo(campo), valor, Actual())) {
      throw std::logic_error("el valor " + std::to_string(valor) + " no cabe en el campo " + std::string(campo));
    }
  }
  // An optional number: empty leaves the field blank.
  template <typename T>
  void Numero(std::string_view campo, const std::optional<T>& valor) {
    if (valor) Numero(campo, static_cast<double>(*valor));
  }

  void Fecha(std::string_view campo, dbf::Date fecha) { dbf::EncodeDate(Campo(campo), fecha, Actual()); }
  void Logico(std::string_view campo, bool valor) { dbf::EncodeBoolean(Campo(campo), valor, Actual()); }
  // "S" or "N", as ESCOLAN's one-character flags.
  void SiNo(std::string_view campo, bool valor) { Texto(campo, valor ? "S" : "N"); }
  // A memo's block number in the memo file, right-aligned; none leaves the field blank.
  void Memo(std::string_view campo, std::optional<std::uint32_t> bloque) { Numero(campo, bloque); }

  const storage::CodePage& PaginaDeCodigos() const { return codePage_; }

  // A FoxPro 2.x table, with a memo file.
  void ComoFoxPro() { dbf::MarkAsFoxPro2(cabecera_, layout_); }

  // The whole file: the header with the record count, the records and the end marker.
  std::vector<std::byte> Bytes() const {
    std::vector<std::byte> archivo = cabecera_;
    dbf::StampHeader(archivo, cuenta_, kFechaTablas);
    archivo.insert(archivo.end(), registros_.begin(), registros_.end());
    archivo.push_back(dbf::kEndOfFile);
    return archivo;
  }

 private:
  const dbf::Field& Campo(std::string_view nombre) const {
    for (const dbf::Field& campo : layout_.fields) {
      if (campo.name == nombre) return campo;
    }
    throw std::logic_error("la tabla no tiene el campo " + std::string(nombre));
  }
  std::span<std::byte> Actual() { return std::span(registros_).subspan(actual_, blanco_.size()); }

  std::vector<std::byte> cabecera_;
  dbf::Layout layout_;
  const storage::CodePage& codePage_;
  std::vector<std::byte> blanco_;
  std::vector<std::byte> registros_;
  std::size_t actual_ = 0;
  std::uint32_t cuenta_ = 0;
};

// ---------------------------------------------------------------------------------------------------------
// ESCOLAN's tables. asignat, centro and alumnos have ESCOLAN's fixed layouts; the others hold the fields that
// the export and the import use, with a few more of ESCOLAN's own.

std::vector<std::byte> TablaAsignat(const Escuela& escuela) {
  TablaNueva tabla({Indexado(Texto("CODASIG", 8)), Texto("VLITEASIG", 30), Texto("CLITEASIG", 30), Texto("RAMAESPEC", 4),
                    Texto("HORSEMTE", 5), Texto("HORSEMPR", 5), Texto("OPTATIVA", 1), Texto("CIENCIAS", 1),
                    Texto("LETRAS", 1), Texto("GTP", 1), Texto("LITRES", 3), Texto("LITRESV", 3), Entero("NUMALGR"),
                    Entero("DGRUPO"), Entero("VGRUPO"), Entero("NGRUPO"), Entero("NFALTAL"), Entero("NFALTAG"),
                    Entero("NRETRAL"), Entero("NRETRAG"), Entero("HORANO"), Texto("ACP", 3)},
                   kCp850, true);
  for (const Asignatura& asignatura : escuela.asignaturas) {
    tabla.Registro(asignatura.borrado);
    tabla.Texto("CODASIG", asignatura.codigo);
    tabla.Texto("VLITEASIG", asignatura.valenciano);
    tabla.Texto("CLITEASIG", asignatura.castellano);
    tabla.Texto("HORSEMTE", asignatura.horas);
    tabla.SiNo("OPTATIVA", asignatura.optativa);
    tabla.SiNo("CIENCIAS", asignatura.rama == 'C');
    tabla.SiNo("LETRAS", asignatura.rama == 'L');
    tabla.Texto("LITRES", asignatura.litres);
    tabla.Texto("LITRESV", asignatura.litresv);
    tabla.Numero("NUMALGR", 30);
    tabla.Numero("NFALTAL", 3);
    tabla.Numero("NFALTAG", 6);
    tabla.Numero("NRETRAL", 3);
    tabla.Numero("NRETRAG", 6);
  }
  return tabla.Bytes();
}

std::vector<std::byte> TablaCentro(const Escuela& escuela) {
  TablaNueva tabla({Indexado(Real("CODCEN")), Texto("LITCEN", 45), Texto("DOMICEN", 40), Real("CODLOC"), Texto("LITLOC", 30),
                    Real("CODPOS"), Texto("TELEF", 11), Texto("FAX", 11), Texto("CIF", 11), Entero("CODTILAR"),
                    Entero("TIPOCEN"), Texto("HOHALI", 1), Real("PLAZACOME"), Real("RESIDENCIA"), Real("TRANSPOR"),
                    Real("VOLBIBLIO"), Texto("CAES", 1), Texto("PAES", 1), Texto("PLANEXP", 1), Texto("PLANFOR", 1),
                    Texto("HORESP", 1), Texto("HOGAR", 1), Entero("NUNIEESPC"), Entero("NUNIEESPV"), Entero("NIVEL"),
                    Texto("INF", 1), Texto("EGB", 1), Texto("ES1", 1), Texto("BUP", 1), Texto("ES3", 1), Texto("BAC", 1),
                    Texto("FP", 1), Texto("MOD", 1), Texto("CIC", 1), Texto("EPA", 1), Texto("ACTAS", 1),
                    Texto("ERPAS", 1), Texto("EDICION", 6), Texto("BORRADO", 6), Texto("CB", 4), Texto("CS", 4),
                    Texto("DIGITOCON", 2), Texto("CUENTA", 10), Numero("SOLAR", 10, 2), Numero("CONSTRUIDO", 10, 2),
                    Texto("MODOFALTA", 1), Entero("NFALTAL"), Entero("NFALTAG"), Entero("NRETRAL"), Entero("NRETRAG")},
                   kCp850, true);
  for (const Centro& centro : escuela.centros) {
    tabla.Registro(centro.borrado);
    tabla.Numero("CODCEN", centro.codigo);
    tabla.Texto("LITCEN", centro.nombre);
    tabla.Texto("DOMICEN", centro.domicilio);
    tabla.Numero("CODLOC", centro.codigoLocalidad);
    tabla.Texto("LITLOC", centro.localidad);
    tabla.Numero("CODPOS", centro.codigoPostal);
    tabla.Texto("TELEF", centro.telefono);
    tabla.Texto("FAX", centro.fax);
    tabla.Texto("CIF", centro.cif);
    tabla.Numero("CODTILAR", 1);
    tabla.Numero("TIPOCEN", 2);
    tabla.Numero("TRANSPOR", 2);
    tabla.Numero("VOLBIBLIO", 8450);
    for (std::string_view nivel : {"ES1", "ES3", "BAC", "FP", "CIC", "ACTAS", "PLANEXP"}) tabla.SiNo(nivel, true);
    for (std::string_view nivel : {"INF", "EGB", "BUP", "MOD", "EPA", "HOHALI", "CAES", "PAES", "HOGAR"})
      tabla.SiNo(nivel, false);
    tabla.Numero("NIVEL", 3);
    tabla.Texto("EDICION", "250912");
    tabla.Numero("SOLAR", centro.solar);
    tabla.Numero("CONSTRUIDO", centro.construido);
    tabla.Texto("MODOFALTA", "H");
    tabla.Numero("NFALTAL", 3);
    tabla.Numero("NFALTAG", 6);
  }
  return tabla.Bytes();
}

std::vector<std::byte> TablaProfesor(const Escuela& escuela) {
  TablaNueva tabla({Numero("DNI", 8), Texto("LETRA", 1), Texto("APENOMPROF", 45), Texto("DEPARTA", 40), Texto("CUERPO", 3),
                    Fecha("FALTA"), Fecha("FBAJA"), Real("CODCEN"), Texto("TELEF", 11), Texto("DOMICILIO", 40),
                    Numero("HORLECT", 2)},
                   kCp1252);
  for (const Profesor& profesor : escuela.profesores) {
    tabla.Registro(profesor.borrado);
    tabla.Numero("DNI", profesor.dni);
    if (profesor.dni.value_or(0) != 0) tabla.Texto("LETRA", profesor.letra);
    tabla.Texto("APENOMPROF", profesor.apenom);
    tabla.Texto("DEPARTA", profesor.departamento);
    tabla.Texto("CUERPO", profesor.cuerpo);
    tabla.Fecha("FALTA", profesor.alta);
    tabla.Fecha("FBAJA", profesor.baja);
    tabla.Numero("CODCEN", kCodigoCentro);
    tabla.Texto("TELEF", profesor.telefono);
    tabla.Texto("DOMICILIO", profesor.domicilio);
    tabla.Numero("HORLECT", profesor.horasLectivas);
  }
  return tabla.Bytes();
}

std::vector<std::byte> TablaAulas(const Escuela& escuela) {
  TablaNueva tabla({Texto("CODAULA", 6), Texto("LITAULA", 30), Numero("CAPACIDAD", 3), Numero("PLANTA", 2), Real("CODCEN")},
                   kCp850);
  for (const Aula& aula : escuela.aulas) {
    tabla.Registro(aula.borrado);
    tabla.Texto("CODAULA", aula.codigo);
    tabla.Texto("LITAULA", aula.nombre);
    tabla.Numero("CAPACIDAD", aula.capacidad);
    tabla.Numero("PLANTA", aula.planta);
    tabla.Numero("CODCEN", kCodigoCentro);
  }
  return tabla.Bytes();
}

std::vector<std::byte> TablaGrupos(const Escuela& escuela) {
  TablaNueva tabla({Texto("CODGRUP", 5), Texto("TURNO", 1), Texto("LITGRUP", 30), Texto("CODCUR", 4), Texto("CODAULA", 6),
                    Numero("TUTOR", 8), Numero("NUMALUM", 3), Entero("ANOACAD")},
                   kCp1252);
  for (const Grupo& grupo : escuela.grupos) {
    tabla.Registro(grupo.borrado);
    tabla.Texto("CODGRUP", grupo.codigo);
    tabla.Texto("TURNO", std::string(1, grupo.turno));
    tabla.Texto("LITGRUP", grupo.nombre);
    tabla.Texto("CODCUR", grupo.curso);
    tabla.Texto("CODAULA", grupo.aula);
    tabla.Numero("TUTOR", grupo.tutor);
    tabla.Numero("NUMALUM", grupo.alumnos);
    tabla.Numero("ANOACAD", kCursoAcademico);
  }
  return tabla.Bytes();
}

std::vector<std::byte> TablaAsigalum(const Escuela& escuela) {
  TablaNueva tabla({Texto("CODIGO", 10), Texto("CODASIG", 8), Entero("ANOACAD"), Numero("CONVOCA", 1), Logico("PENDIENTE"),
                    Texto("NOTA1", 2), Texto("NOTA2", 2), Texto("NOTA3", 2), Texto("NOTAF", 2)},
                   kCp1252);
  for (const Matricula& matricula : escuela.matriculas) {
    tabla.Registro(matricula.borrado);
    tabla.Texto("CODIGO", matricula.alumno);
    tabla.Texto("CODASIG", matricula.asignatura);
    tabla.Numero("ANOACAD", kCursoAcademico);
    tabla.Numero("CONVOCA", matricula.convocatoria);
    tabla.Logico("PENDIENTE", matricula.pendiente);
  }
  return tabla.Bytes();
}

std::vector<std::byte> TablaHorgrup(const Escuela& escuela) {
  TablaNueva tabla({Texto("CODGRUP", 5), Texto("CODASIG", 8), Numero("DNI", 9), Numero("DIASEM", 2), Numero("NUMHORA", 2),
                    Texto("HORDIADES", 5), Texto("HORDIAHAS", 5), Texto("CODAULA", 6), Real("CODCEN")},
                   kCp850);
  for (const Clase& clase : escuela.clases) {
    tabla.Registro(clase.borrado);
    tabla.Texto("CODGRUP", clase.codgrup);
    tabla.Texto("CODASIG", clase.codasig);
    tabla.Numero("DNI", clase.dni);
    tabla.Numero("DIASEM", clase.dia);
    tabla.Numero("NUMHORA", clase.hora);
    tabla.Texto("HORDIADES", clase.desde);
    tabla.Texto("HORDIAHAS", clase.hasta);
    tabla.Texto("CODAULA", clase.aula);
    tabla.Numero("CODCEN", kCodigoCentro);
  }
  return tabla.Bytes();
}

std::vector<std::byte> TablaHorprof(const Escuela& escuela) {
  TablaNueva tabla({Numero("DNI", 9), Numero("DIASEM", 2), Numero("NUMHORA", 2), Texto("HORAD", 5), Texto("HORAH", 5),
                    Texto("OCUPA", 1), Texto("CODGRUP", 5), Texto("CODASIG", 8), Texto("CODAULA", 6), Real("CODCEN")},
                   kCp850);
  for (const Ocupacion& ocupacion : escuela.ocupaciones) {
    tabla.Registro(ocupacion.borrado);
    tabla.Numero("DNI", ocupacion.dni);
    tabla.Numero("DIASEM", ocupacion.dia);
    tabla.Numero("NUMHORA", ocupacion.hora);
    tabla.Texto("HORAD", ocupacion.desde);
    tabla.Texto("HORAH", ocupacion.hasta);
    tabla.Texto("OCUPA", std::string(1, ocupacion.ocupa));
    tabla.Texto("CODGRUP", ocupacion.codgrup);
    tabla.Texto("CODASIG", ocupacion.codasig);
    tabla.Texto("CODAULA", ocupacion.aula);
    tabla.Numero("CODCEN", kCodigoCentro);
  }
  return tabla.Bytes();
}

std::vector<std::byte> TablaLhortipo(const Escuela& escuela) {
  TablaNueva tabla({Real("CODCEN"), Texto("CODHOR", 2), Numero("NUMHORA", 2), Texto("DESDE", 5), Texto("HASTA", 5),
                    Logico("LECTIVA")},
                   kCp1252);
  for (const Periodo& periodo : escuela.periodos) {
    tabla.Registro(periodo.borrado);
    tabla.Numero("CODCEN", periodo.centro);
    tabla.Texto("CODHOR", periodo.horario);
    tabla.Numero("NUMHORA", periodo.numero);
    tabla.Texto("DESDE", periodo.desde);
    tabla.Texto("HASTA", periodo.hasta);
    tabla.Logico("LECTIVA", periodo.lectivo);
  }
  return tabla.Bytes();
}

std::vector<dbf::FieldSpec> CamposAlumnos() {
  return {Texto("APENOM", 45),     Texto("CODIGO", 10),     Texto("CODIGO2", 10),    Fecha("FECHANAC"),
          Entero("CODPROV"),       Texto("LOCALNAC", 50),   Entero("PROVNAC"),       Texto("SEXO", 1),
          Texto("DNIAL", 10),      Entero("NACIONAL"),      Texto("DOMICILIO", 30),  Texto("LOCALIDAD", 30),
          Real("CODPOS"),          Texto("TELEF", 11),      Texto("TELEF2", 11),     Texto("APENOMP", 45),
          Texto("DNIP", 9),        Texto("APENOMM", 45),    Texto("DNIM", 9),        Texto("CODCUR", 4),
          Texto("CODGRUP", 5),     Texto("CODGRUPREP", 4),  Texto("CODGRU3", 4),     Entero("INCAPACIDA"),
          Entero("COMPENSA"),      Real("CODCEN"),          Texto("OFILIB", 1),      Texto("RAMA", 4),
          Texto("BECARIO", 5),     Texto("NUEVOBECA", 1),   Numero("REPITE", 1),     Texto("ESTAMAT", 1),
          Texto("TIPMATRI", 1),    Texto("LIBROCAL", 1),    Fecha("FECHAMAT"),       Texto("TRASLAEX", 1),
          Texto("GRACERT", 1),     Texto("OBTGRCURA", 1),   Entero("TITUL_AC"),      Texto("FP2CONBUP", 1),
          Texto("FP2SENSCOM", 1),  Texto("FP2C1PLAEX", 1),  Texto("FP2OTRAESP", 1),  Logico("METIDOGRUP"),
          Entero("PRIDIEX"),       Entero("SEIDIEX"),       Texto("TURNO", 1),       Texto("LINEA", 1),
          Texto("REL_ETICA", 1),   Texto("RELIGION", 1),    Texto("CUIDADORA", 1),   Texto("LOGOPEDA", 1),
          Texto("FISIO", 1),       Texto("APOYO", 1),       Texto("INTEGRADO", 1),   Texto("TRANSPOR", 1),
          Texto("COMEDOR", 1),     Texto("RESIDENCIA", 1),  Texto("PROMOCIONA", 1),  Entero("PAISNAC"),
          Texto("NUMLIBRO", 10),   Texto("OPCION", 1),      Real("CENPROCED"),       Texto("APA", 1),
          Texto("SEGURO", 1),      Texto("SEG_SOCIAL", 15), Entero("ANOACAD"),       Entero("CORR"),
          Memo("OBS"),             Memo("COMENTARIO"),      Fecha("FECHABAJA"),      Entero("CODBAJ"),
          Texto("CB", 4),          Texto("CS", 4),          Texto("DIGITOCON", 2),   Texto("CUENTA", 10),
          Texto("CODPLAN", 10),    Numero("TASAACADE", 7, 2), Numero("TASAADM", 7, 2), Numero("TASAOTROS", 7, 2),
          Logico("ACS"),           Logico("DOMICILIA"),     Logico("CONSEJO"),       Logico("BAJAPEN"),
          Logico("CONSEJOP"),      Logico("CONSEJOM"),      Texto("TITULAR", 45),    Texto("TITUESO", 1)};
}

constexpr std::uint32_t kEspana = 724;
constexpr std::uint32_t kValencia = 46;

// A memo's block in the memo file, once its text is there; none for an empty text.
std::optional<std::uint32_t> GuardarMemo(storage::memo::FoxProWriter& memos, const storage::CodePage& pagina,
                                         const std::string& texto) {
  if (texto.empty()) return std::nullopt;
  return memos.Add(pagina.Encode(texto));
}

void RegistroDeAlumno(TablaNueva& tabla, storage::memo::FoxProWriter& memos, const Alumno& alumno, int orden) {
  tabla.Registro(alumno.borrado);
  tabla.Texto("APENOM", alumno.apenom);
  tabla.Texto("CODIGO", alumno.codigo);
  tabla.Texto("CODIGO2", alumno.nia);
  tabla.Fecha("FECHANAC", alumno.nacimiento);
  tabla.Numero("CODPROV", kValencia);
  tabla.Texto("LOCALNAC", alumno.localidadNacimiento);
  tabla.Numero("PROVNAC", kValencia);
  tabla.Texto("SEXO", alumno.sexo);
  tabla.Texto("DNIAL", alumno.dni);
  tabla.Numero("NACIONAL", kEspana);
  tabla.Texto("DOMICILIO", alumno.domicilio);
  tabla.Texto("LOCALIDAD", alumno.localidad);
  tabla.Numero("CODPOS", alumno.codigoPostal);
  tabla.Texto("TELEF", alumno.telefono);
  tabla.Texto("APENOMP", alumno.padre);
  tabla.Texto("DNIP", alumno.dniPadre);
  tabla.Texto("APENOMM", alumno.madre);
  tabla.Texto("DNIM", alumno.dniMadre);
  tabla.Texto("CODCUR", alumno.curso);
  tabla.Texto("CODGRUP", alumno.codgrup);
  tabla.Numero("CODCEN", kCodigoCentro);
  tabla.Numero("REPITE", alumno.repite);
  tabla.Texto("ESTAMAT", "M");
  tabla.Texto("TIPMATRI", "O");
  tabla.Fecha("FECHAMAT", alumno.matricula);
  tabla.Logico("METIDOGRUP", alumno.codgrup.size() > 1);
  tabla.Texto("TURNO", alumno.turno);
  tabla.Texto("LINEA", orden % 3 == 0 ? "C" : "V");
  tabla.Texto("REL_ETICA", alumno.religion ? "R" : "A");
  tabla.SiNo("RELIGION", alumno.religion);
  tabla.SiNo("TRANSPOR", alumno.transporte);
  tabla.SiNo("COMEDOR", alumno.comedor);
  tabla.Numero("PAISNAC", kEspana);
  tabla.SiNo("SEGURO", alumno.tasa > 0);
  tabla.Numero("ANOACAD", kCursoAcademico);
  tabla.Numero("CORR", orden);
  tabla.Memo("OBS", GuardarMemo(memos, tabla.PaginaDeCodigos(), alumno.observaciones));
  tabla.Memo("COMENTARIO", GuardarMemo(memos, tabla.PaginaDeCodigos(), alumno.comentario));
  tabla.Fecha("FECHABAJA", alumno.baja);
  if (!alumno.baja.IsEmpty()) tabla.Numero("CODBAJ", 3);
  if (alumno.tasa > 0) tabla.Numero("TASAOTROS", alumno.tasa);
  for (std::string_view no : {"ACS", "DOMICILIA", "CONSEJO", "BAJAPEN", "CONSEJOP", "CONSEJOM"})
    tabla.Logico(no, false);
  tabla.Texto("TITULAR", alumno.padre);
  tabla.Texto("TITUESO", "N");
}

// alumnos.dbf, a FoxPro 2.x table, and its memo file alumnos.fpt.
std::pair<std::vector<std::byte>, std::vector<std::byte>> TablaAlumnos(const Escuela& escuela) {
  TablaNueva tabla(CamposAlumnos(), kCp1252);
  tabla.ComoFoxPro();
  storage::memo::FoxProWriter memos(kBloqueMemos);
  int orden = 0;
  for (const Alumno& alumno : escuela.alumnos) RegistroDeAlumno(tabla, memos, alumno, ++orden);
  return {tabla.Bytes(), memos.Bytes()};
}

// ---------------------------------------------------------------------------------------------------------
// The folder

struct Archivo {
  std::string nombre;
  std::vector<std::byte> bytes;
};

std::vector<Archivo> ArchivosDe(const Escuela& escuela) {
  using run::ArchivoEscolan;
  auto [alumnos, memos] = TablaAlumnos(escuela);
  std::vector<Archivo> archivos;
  archivos.push_back({ArchivoEscolan(run::kAsignat), TablaAsignat(escuela)});
  archivos.push_back({ArchivoEscolan(run::kCentro), TablaCentro(escuela)});
  archivos.push_back({ArchivoEscolan(run::kProfesor), TablaProfesor(escuela)});
  archivos.push_back({ArchivoEscolan(run::kAsigalum), TablaAsigalum(escuela)});
  archivos.push_back({ArchivoEscolan(run::kAulas), TablaAulas(escuela)});
  archivos.push_back({ArchivoEscolan(run::kGrupos), TablaGrupos(escuela)});
  archivos.push_back({ArchivoEscolan(run::kAlumnos), std::move(alumnos)});
  archivos.push_back({std::string(run::kMemoAlumnos), std::move(memos)});
  archivos.push_back({ArchivoEscolan(run::kHorgrup), TablaHorgrup(escuela)});
  archivos.push_back({ArchivoEscolan(run::kHorprof), TablaHorprof(escuela)});
  archivos.push_back({ArchivoEscolan(run::kLhortipo), TablaLhortipo(escuela)});
  return archivos;
}

void Escribir(const std::string& ruta, std::span<const std::byte> bytes) {
  try {
    platform::WriteWholeFile(ruta, bytes);
  } catch (const platform::FileError& error) {
    throw std::runtime_error("No se puede escribir el archivo " + ruta + ": " + error.what());
  }
}

}  // namespace

void EscribirMuestraEscolan(const std::string& carpeta, TamanoMuestra tamano) {
  platform::WindowsPath ruta = platform::FullPath(carpeta);
  std::vector<Archivo> archivos = ArchivosDe(InventarEscuela(tamano));
  if (!platform::CreateFolders(ruta.Text())) throw std::runtime_error("No se puede crear la carpeta " + ruta.Text());
  for (std::string_view indice : {"asignat.mdx", "centro.mdx", "alumnos.cdx"})
    platform::RemoveFile(ruta.Child(indice).Text());
  for (const Archivo& archivo : archivos) Escribir(ruta.Child(archivo.nombre).Text(), archivo.bytes);
}

}  // namespace muestra
