// The sample ESCOLAN folder (make-sample): its files read back through our table engine and by Debian's
// dBase reader, the cases it is there to show, and a whole export and import run on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ventana/ventana_principal.h"
#include "muestra/muestra_escolan.h"
#include "muestra/muestra_escolan_datos.h"
#include "platform/platform.h"
#include "storage/code_page.h"
#include "storage/storage.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/temporary_drive.h"

namespace {

namespace dbf = storage::dbf;
using muestra::TamanoMuestra;
using storage::DataType;
using testing_support::TemporaryDrive;

const std::vector<std::string> kTablas = {"asignat", "centro", "profesor", "asigalum", "aulas",
                                          "grupos",  "alumnos", "horgrup", "horprof", "lhortipo"};

std::vector<std::string> Archivos() {
  std::vector<std::string> archivos;
  for (const std::string& tabla : kTablas) archivos.push_back(tabla + ".dbf");
  archivos.push_back("alumnos.fpt");
  return archivos;
}

std::span<const std::byte> ComoBytes(const std::string& texto) {
  return std::as_bytes(std::span(texto.data(), texto.size()));
}

std::uint32_t EnteroLittleEndian(const std::string& bytes, std::size_t donde) {
  std::uint32_t valor = 0;
  for (std::size_t i = 4; i > 0; --i) valor = (valor << 8) | static_cast<unsigned char>(bytes[donde + i - 1]);
  return valor;
}

std::uint32_t EnteroBigEndian(const std::string& bytes, std::size_t donde, std::size_t ancho) {
  std::uint32_t valor = 0;
  for (std::size_t i = 0; i < ancho; ++i) valor = (valor << 8) | static_cast<unsigned char>(bytes[donde + i]);
  return valor;
}

// Whether a text holds only what names, addresses and times of a Valencian school are written with: a
// text stored in one code page and read in another shows other characters (or "?" where one is missing).
bool TextoDeEscuela(std::string_view texto) {
  static const std::u32string kLetras = U"ÀÁÈÉÍÏÒÓÚÜÑÇàáèéíïòóúüñç·'-.,:;/()\r\n ";
  for (std::size_t i = 0; i < texto.size();) {
    auto byte = static_cast<unsigned char>(texto[i]);
    std::size_t largo = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
    char32_t c = largo == 1 ? byte : byte & (0x3F >> (largo - 1));
    for (std::size_t k = 1; k < largo && i + k < texto.size(); ++k) c = (c << 6) | (texto[i + k] & 0x3F);
    i += largo;
    bool ascii = (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9');
    if (!ascii && kLetras.find(c) == std::u32string::npos) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------------------
// Both samples, written once for the tests that only read them.

class MuestraEscrita : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    drive_ = new TemporaryDrive;
    muestra::EscribirMuestraEscolan(Carpeta(TamanoMuestra::kPequena), TamanoMuestra::kPequena);
    muestra::EscribirMuestraEscolan(Carpeta(TamanoMuestra::kGrande), TamanoMuestra::kGrande);
  }
  static void TearDownTestSuite() {
    delete drive_;
    drive_ = nullptr;
  }

  static std::string Carpeta(TamanoMuestra tamano) {
    return tamano == TamanoMuestra::kPequena ? "C:\\PEQUENA" : "C:\\GRANDE";
  }
  static std::string Host(TamanoMuestra tamano, const std::string& archivo) {
    return (tamano == TamanoMuestra::kPequena ? "PEQUENA/" : "GRANDE/") + archivo;
  }
  static std::string Contenido(TamanoMuestra tamano, const std::string& archivo) {
    return drive_->ReadHostFile(Host(tamano, archivo));
  }

  std::unique_ptr<storage::Table> Abrir(TamanoMuestra tamano, const std::string& tabla) {
    auto abierta = std::make_unique<storage::Table>(engine_);
    abierta->SetDatabaseName(Carpeta(tamano));
    abierta->SetTableName(tabla);
    abierta->SetDbfExtensionImplied(true);
    abierta->Open();
    return abierta;
  }

  // A field of every visible record, read as text.
  std::vector<std::string> Textos(TamanoMuestra tamano, const std::string& tabla, const std::string& campo) {
    std::vector<std::string> textos;
    auto abierta = Abrir(tamano, tabla);
    for (abierta->First(); !abierta->Eof(); abierta->Next()) textos.push_back(abierta->AsString(campo));
    return textos;
  }

  std::size_t Visibles(TamanoMuestra tamano, const std::string& tabla) {
    auto abierta = Abrir(tamano, tabla);
    std::size_t cuantos = 0;
    for (abierta->First(); !abierta->Eof(); abierta->Next()) ++cuantos;
    return cuantos;
  }

  static TemporaryDrive* drive_;
  storage::Engine engine_{'.'};
};

TemporaryDrive* MuestraEscrita::drive_ = nullptr;

constexpr TamanoMuestra kTamanos[] = {TamanoMuestra::kPequena, TamanoMuestra::kGrande};

std::string Nombre(TamanoMuestra tamano) { return tamano == TamanoMuestra::kPequena ? "small" : "large"; }

// ---------------------------------------------------------------------------------------------------------
// The files

// The three layouts ESCOLAN fixes, in file order: NAME and its kind, Cn text of n characters, S smallint,
// F floating point, D date, L boolean, M memo.
const std::map<std::string, std::string> kDisenosFijos = {
    {"asignat",
     "CODASIG C8, VLITEASIG C30, CLITEASIG C30, RAMAESPEC C4, HORSEMTE C5, HORSEMPR C5, OPTATIVA C1, CIENCIAS C1, "
     "LETRAS C1, GTP C1, LITRES C3, LITRESV C3, NUMALGR S, DGRUPO S, VGRUPO S, NGRUPO S, NFALTAL S, NFALTAG S, "
     "NRETRAL S, NRETRAG S, HORANO S, ACP C3"},
    {"centro",
     "CODCEN F, LITCEN C45, DOMICEN C40, CODLOC F, LITLOC C30, CODPOS F, TELEF C11, FAX C11, CIF C11, CODTILAR S, "
     "TIPOCEN S, HOHALI C1, PLAZACOME F, RESIDENCIA F, TRANSPOR F, VOLBIBLIO F, CAES C1, PAES C1, PLANEXP C1, "
     "PLANFOR C1, HORESP C1, HOGAR C1, NUNIEESPC S, NUNIEESPV S, NIVEL S, INF C1, EGB C1, ES1 C1, BUP C1, ES3 C1, "
     "BAC C1, FP C1, MOD C1, CIC C1, EPA C1, ACTAS C1, ERPAS C1, EDICION C6, BORRADO C6, CB C4, CS C4, "
     "DIGITOCON C2, CUENTA C10, SOLAR F, CONSTRUIDO F, MODOFALTA C1, NFALTAL S, NFALTAG S, NRETRAL S, NRETRAG S"},
    {"alumnos",
     "APENOM C45, CODIGO C10, CODIGO2 C10, FECHANAC D, CODPROV S, LOCALNAC C50, PROVNAC S, SEXO C1, DNIAL C10, "
     "NACIONAL S, DOMICILIO C30, LOCALIDAD C30, CODPOS F, TELEF C11, TELEF2 C11, APENOMP C45, DNIP C9, "
     "APENOMM C45, DNIM C9, CODCUR C4, CODGRUP C5, CODGRUPREP C4, CODGRU3 C4, INCAPACIDA S, COMPENSA S, "
     "CODCEN F, OFILIB C1, RAMA C4, BECARIO C5, NUEVOBECA C1, REPITE S, ESTAMAT C1, TIPMATRI C1, LIBROCAL C1, "
     "FECHAMAT D, TRASLAEX C1, GRACERT C1, OBTGRCURA C1, TITUL_AC S, FP2CONBUP C1, FP2SENSCOM C1, "
     "FP2C1PLAEX C1, FP2OTRAESP C1, METIDOGRUP L, PRIDIEX S, SEIDIEX S, TURNO C1, LINEA C1, REL_ETICA C1, "
     "RELIGION C1, CUIDADORA C1, LOGOPEDA C1, FISIO C1, APOYO C1, INTEGRADO C1, TRANSPOR C1, COMEDOR C1, "
     "RESIDENCIA C1, PROMOCIONA C1, PAISNAC S, NUMLIBRO C10, OPCION C1, CENPROCED F, APA C1, SEGURO C1, "
     "SEG_SOCIAL C15, ANOACAD S, CORR S, OBS M, COMENTARIO M, FECHABAJA D, CODBAJ S, CB C4, CS C4, "
     "DIGITOCON C2, CUENTA C10, CODPLAN C10, TASAACADE F, TASAADM F, TASAOTROS F, ACS L, DOMICILIA L, "
     "CONSEJO L, BAJAPEN L, CONSEJOP L, CONSEJOM L, TITULAR C45, TITUESO C1"},
};

std::string DisenoDe(const std::vector<storage::FieldInfo>& campos) {
  std::string diseno;
  for (const storage::FieldInfo& campo : campos) {
    if (!diseno.empty()) diseno += ", ";
    diseno += campo.name + " ";
    switch (campo.dataType) {
      case DataType::ftString: diseno += "C" + std::to_string(campo.size); break;
      case DataType::ftSmallint: diseno += "S"; break;
      case DataType::ftFloat: diseno += "F"; break;
      case DataType::ftDate: diseno += "D"; break;
      case DataType::ftBoolean: diseno += "L"; break;
      case DataType::ftMemo: diseno += "M"; break;
      default: diseno += "?"; break;
    }
  }
  return diseno;
}

TEST_F(MuestraEscrita, TheThreeFixedLayoutsAreEscolansFieldForField) {
  for (TamanoMuestra tamano : kTamanos) {
    for (const auto& [tabla, diseno] : kDisenosFijos) {
      EXPECT_EQ(DisenoDe(Abrir(tamano, tabla)->Fields()), diseno) << Nombre(tamano) << " " << tabla;
    }
  }
}

TEST_F(MuestraEscrita, HeadersAreThoseEscolanLeaves) {
  std::set<std::uint8_t> idiomas;
  for (const std::string& tabla : kTablas) {
    std::string archivo = Contenido(TamanoMuestra::kPequena, tabla + ".dbf");
    dbf::Layout layout = dbf::ParseHeader(ComoBytes(archivo));
    SCOPED_TRACE(tabla);
    EXPECT_EQ(layout.version, tabla == "alumnos" ? 0xF5 : 0x03);
    bool indiceDeProduccion = tabla == "asignat" || tabla == "centro";
    EXPECT_EQ(layout.productionIndexFlag, indiceDeProduccion ? 1 : 0);
    EXPECT_EQ(layout.fields.front().indexed, indiceDeProduccion);  // the tag CODASIG or CODCEN
    idiomas.insert(layout.languageDriver);
    EXPECT_EQ(archivo.size(), layout.headerLength + std::size_t{layout.recordCount} * layout.recordLength + 1);
    EXPECT_EQ(archivo.back(), '\x1A');
    dbf::Date fecha{1900 + static_cast<unsigned char>(archivo[1]), archivo[2], archivo[3]};
    EXPECT_EQ(fecha, muestra::kFechaTablas);  // not the day the sample was made
    if (tabla == "alumnos") {  // FoxPro keeps each field's place in the record in its descriptor
      for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        EXPECT_EQ(EnteroLittleEndian(archivo, 32 + 32 * i + 12), layout.fields[i].offset) << layout.fields[i].name;
      }
    }
  }
  EXPECT_EQ(idiomas, (std::set<std::uint8_t>{0x02, 0x03}));
}

// Every field the export and the import read, with the kind of value they read it as.
enum class Lectura { kTexto, kEntero, kFecha };

struct CampoLeido {
  std::string tabla, campo;
  Lectura lectura;
};

const std::vector<CampoLeido> kCamposLeidos = {
    {"asignat", "Codasig", Lectura::kTexto},    {"asignat", "Litresv", Lectura::kTexto},
    {"asignat", "Cliteasig", Lectura::kTexto},  {"asignat", "Vliteasig", Lectura::kTexto},
    {"asignat", "Horsemte", Lectura::kTexto},   {"centro", "Codcen", Lectura::kTexto},
    {"profesor", "FBaja", Lectura::kFecha},     {"profesor", "Apenomprof", Lectura::kTexto},
    {"profesor", "Departa", Lectura::kTexto},   {"profesor", "Dni", Lectura::kEntero},
    {"aulas", "Codaula", Lectura::kTexto},      {"aulas", "Litaula", Lectura::kTexto},
    {"alumnos", "Codgrup", Lectura::kTexto},    {"alumnos", "Codigo", Lectura::kTexto},
    {"alumnos", "Apenom", Lectura::kTexto},     {"alumnos", "Repite", Lectura::kEntero},
    {"asigalum", "Codigo", Lectura::kTexto},    {"asigalum", "Codasig", Lectura::kTexto},
    {"grupos", "Turno", Lectura::kTexto},       {"grupos", "Codgrup", Lectura::kTexto},
    {"horgrup", "Codgrup", Lectura::kTexto},    {"horgrup", "Codasig", Lectura::kTexto},
    {"horgrup", "Dni", Lectura::kEntero},       {"lhortipo", "CODCEN", Lectura::kTexto},
    {"lhortipo", "Numhora", Lectura::kEntero},  {"lhortipo", "Desde", Lectura::kTexto},
    {"lhortipo", "Hasta", Lectura::kTexto},
};

TEST_F(MuestraEscrita, EveryFieldTheProgramReadsConvertsToItsKindInEveryRecord) {
  for (TamanoMuestra tamano : kTamanos) {
    for (const std::string& tabla : kTablas) {
      auto abierta = Abrir(tamano, tabla);
      for (abierta->First(); !abierta->Eof(); abierta->Next()) {
        for (const CampoLeido& leido : kCamposLeidos) {
          if (leido.tabla != tabla) continue;
          SCOPED_TRACE(Nombre(tamano) + " " + tabla + "." + leido.campo + " record " +
                       std::to_string(abierta->RecNo()));
          switch (leido.lectura) {
            case Lectura::kTexto:
              EXPECT_TRUE(TextoDeEscuela(abierta->AsString(leido.campo))) << abierta->AsString(leido.campo);
              break;
            case Lectura::kEntero: EXPECT_NO_THROW(abierta->AsInteger(leido.campo)); break;
            case Lectura::kFecha: EXPECT_NO_THROW(abierta->AsDate(leido.campo)); break;
          }
        }
      }
    }
  }
}

TEST_F(MuestraEscrita, EveryTableHasDeletedRecordsThatTheEngineDoesNotShow) {
  for (const std::string& tabla : kTablas) {
    std::string archivo = Contenido(TamanoMuestra::kPequena, tabla + ".dbf");
    dbf::Layout layout = dbf::ParseHeader(ComoBytes(archivo));
    std::size_t borrados = 0;
    for (std::size_t i = 0; i < layout.recordCount; ++i) {
      borrados += archivo[layout.headerLength + i * layout.recordLength] == '*';
    }
    EXPECT_GT(borrados, 0u) << tabla;
    EXPECT_EQ(Visibles(TamanoMuestra::kPequena, tabla), layout.recordCount - borrados) << tabla;
  }
  // The school's list of centres is its one live centro record.
  EXPECT_EQ(Textos(TamanoMuestra::kPequena, "centro", "Codcen"), std::vector<std::string>{"46010001"});
}

TEST_F(MuestraEscrita, StudentMemosReadBackFromTheMemoFile) {
  for (TamanoMuestra tamano : kTamanos) {
    std::string fpt = Contenido(tamano, "alumnos.fpt");
    ASSERT_GE(fpt.size(), 512u);
    EXPECT_EQ(EnteroBigEndian(fpt, 6, 2), 64u);                     // block size
    EXPECT_EQ(EnteroBigEndian(fpt, 0, 4) * 64, fpt.size());         // next free block: the end of the file
    auto alumnos = Abrir(tamano, "alumnos");
    std::size_t memos = 0, largos = 0;
    for (alumnos->First(); !alumnos->Eof(); alumnos->Next()) {
      for (const char* campo : {"OBS", "COMENTARIO"}) {
        if (alumnos->IsNull(campo)) continue;
        std::optional<std::string> texto = alumnos->MemoText(campo);
        ASSERT_TRUE(texto.has_value()) << Nombre(tamano) << " " << campo << " of record " << alumnos->RecNo();
        EXPECT_FALSE(texto->empty());
        EXPECT_TRUE(TextoDeEscuela(*texto)) << *texto;
        ++memos;
        largos += texto->size() > 64 - 8;  // goes on into the next block
      }
    }
    EXPECT_GT(memos, 0u) << Nombre(tamano);
    EXPECT_GT(largos, 0u) << Nombre(tamano);
  }
}

TEST_F(MuestraEscrita, TheSameSizeGivesTheSameBytes) {
  muestra::EscribirMuestraEscolan("C:\\OTRA\\PEQUENA", TamanoMuestra::kPequena);
  muestra::EscribirMuestraEscolan("C:\\OTRA\\GRANDE", TamanoMuestra::kGrande);
  for (TamanoMuestra tamano : kTamanos) {
    for (const std::string& archivo : Archivos()) {
      EXPECT_TRUE(Contenido(tamano, archivo) == drive_->ReadHostFile("OTRA/" + Host(tamano, archivo)))
          << Nombre(tamano) << " " << archivo;
    }
  }
}

TEST_F(MuestraEscrita, TheLargeSchoolHasAboutTheStatedCounts) {
  struct Cuenta {
    std::string tabla;
    std::size_t desde, hasta;
  };
  const Cuenta kCuentas[] = {{"asignat", 450, 560},      {"profesor", 225, 275},  {"alumnos", 2600, 3000},
                             {"asigalum", 25000, 29000}, {"horgrup", 4300, 5100}};
  for (const Cuenta& cuenta : kCuentas) {
    std::size_t visibles = Visibles(TamanoMuestra::kGrande, cuenta.tabla);
    EXPECT_GE(visibles, cuenta.desde) << cuenta.tabla;
    EXPECT_LE(visibles, cuenta.hasta) << cuenta.tabla;
  }
  std::size_t pequena = Visibles(TamanoMuestra::kPequena, "alumnos");
  EXPECT_GE(pequena, 40u);
  EXPECT_LE(pequena, 60u);
}

// ---------------------------------------------------------------------------------------------------------
// What the sample is there to show

bool Digitos(std::string_view texto) {
  return !texto.empty() && texto.find_first_not_of("0123456789") == std::string_view::npos;
}

bool Mayusculas(std::string_view texto) {
  return texto.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string_view::npos;
}

std::string SinBlancos(std::string_view texto) {
  std::size_t desde = texto.find_first_not_of(' '), hasta = texto.find_last_not_of(' ');
  return desde == std::string_view::npos ? "" : std::string(texto.substr(desde, hasta - desde + 1));
}

TEST_F(MuestraEscrita, SubjectsHaveCourseAndLevelCodesAndHoursThatConvertWhateverTheDecimalSeparator) {
  for (TamanoMuestra tamano : kTamanos) {
    SCOPED_TRACE(Nombre(tamano));
    for (const std::string& codigo : Textos(tamano, "asignat", "Codasig")) {
      EXPECT_TRUE(codigo.size() >= 5 && Digitos(codigo.substr(0, 1)) && Mayusculas(codigo.substr(1, 3))) << codigo;
    }
    std::set<std::string> formas;
    for (const std::string& horas : Textos(tamano, "asignat", "Horsemte")) {
      std::string dos = SinBlancos(horas.substr(0, 2));  // what the subject export converts
      EXPECT_TRUE(dos.empty() || Digitos(dos)) << horas;
      if (horas.empty()) formas.insert("empty");
      else if (horas.find(':') != std::string::npos) formas.insert("HH:MM");
      else if (horas.size() == 1) formas.insert("one digit");
      else if (horas[0] == '0') formas.insert("leading zero");
      else formas.insert("ten or more");
    }
    EXPECT_EQ(formas.size(), 5u);
    std::vector<std::string> cortos = Textos(tamano, "asignat", "Litresv");
    EXPECT_LT(std::set<std::string>(cortos.begin(), cortos.end()).size(), cortos.size()) << "no short code is shared";
    std::vector<std::string> castellano = Textos(tamano, "asignat", "Cliteasig");
    EXPECT_NE(castellano, Textos(tamano, "asignat", "Vliteasig"));
    for (const std::string& nombre : castellano) EXPECT_FALSE(nombre.empty());
  }
}

TEST_F(MuestraEscrita, TeachersShowLeaveDatesSharedAbbreviationsAndMissingIdentityNumbersInTheSmallSchool) {
  for (TamanoMuestra tamano : kTamanos) {
    SCOPED_TRACE(Nombre(tamano));
    auto profesores = Abrir(tamano, "profesor");
    std::size_t total = 0, deBaja = 0, sinDni = 0, enBlanco = 0;
    std::map<std::string, int> abreviaturas;  // of the teachers at work, the export's first two characters
    for (profesores->First(); !profesores->Eof(); profesores->Next()) {
      ++total;
      if (!profesores->AsDate("FBaja").IsEmpty()) {
        ++deBaja;
        continue;
      }
      std::string nombre = profesores->AsString("Apenomprof");
      ++abreviaturas[std::string(storage::FirstCharacters(nombre, 2))];
      sinDni += profesores->AsInteger("Dni") == 0;
      enBlanco += profesores->IsNull("Dni");
    }
    EXPECT_GT(deBaja, 0u);
    EXPECT_LT(deBaja * 4, total);
    int masRepetida = 0;
    for (const auto& [abreviatura, veces] : abreviaturas) masRepetida = std::max(masRepetida, veces);
    EXPECT_GE(masRepetida, 2);
    EXPECT_LT(masRepetida, 100);  // from the 100th the export's numbered abbreviations repeat
    EXPECT_EQ(sinDni, tamano == TamanoMuestra::kPequena ? 2u : 0u);
    EXPECT_EQ(enBlanco, tamano == TamanoMuestra::kPequena ? 1u : 0u);
  }
}

TEST_F(MuestraEscrita, StudentsIncludeOnesWithoutAGroupAndEnrolmentsTheCatalogueLacks) {
  for (TamanoMuestra tamano : kTamanos) {
    SCOPED_TRACE(Nombre(tamano));
    auto alumnos = Abrir(tamano, "alumnos");
    std::set<std::string> codigos;
    std::set<std::string> repite;
    std::size_t sinGrupo = 0, deDiez = 0;
    for (alumnos->First(); !alumnos->Eof(); alumnos->Next()) {
      std::string codigo = alumnos->AsString("Codigo");
      EXPECT_TRUE(codigos.insert(codigo).second) << "two live students " << codigo;
      deDiez += codigo.size() == 10;
      sinGrupo += alumnos->AsString("Codgrup").size() < 2;
      repite.insert(alumnos->IsNull("Repite") ? "empty" : std::to_string(alumnos->AsInteger("Repite")));
    }
    EXPECT_GE(sinGrupo, 2u);
    EXPECT_GT(deDiez, 0u);
    EXPECT_EQ(repite, (std::set<std::string>{"0", "1", "empty"}));

    std::vector<std::string> catalogo = Textos(tamano, "asignat", "Codasig");
    std::set<std::string> enCatalogo(catalogo.begin(), catalogo.end());
    auto asigalum = Abrir(tamano, "asigalum");
    std::map<std::string, int> encontradas;
    std::size_t perdidas = 0;
    for (asigalum->First(); !asigalum->Eof(); asigalum->Next()) {
      EXPECT_TRUE(codigos.contains(asigalum->AsString("Codigo")));
      if (enCatalogo.contains(asigalum->AsString("Codasig"))) ++encontradas[asigalum->AsString("Codigo")];
      else ++perdidas;
    }
    EXPECT_GT(perdidas, 0u);
    for (const auto& [codigo, cuantas] : encontradas) EXPECT_LE(cuantas, 50) << codigo;  // ALUMNOST's 50 slots
  }
  std::vector<std::string> grupos = Textos(TamanoMuestra::kPequena, "grupos", "Codgrup");
  EXPECT_NE(std::find(grupos.begin(), grupos.end(), "2BA"), grupos.end());
  std::vector<std::string> turnos = Textos(TamanoMuestra::kPequena, "grupos", "Turno");
  EXPECT_EQ(std::set<std::string>(turnos.begin(), turnos.end()), (std::set<std::string>{"M", "T"}));
}

bool Hora(std::string_view texto) {
  return texto.size() == 5 && Digitos(texto.substr(0, 2)) && texto[2] == ':' && Digitos(texto.substr(3));
}

TEST_F(MuestraEscrita, TimetablesUseTheCentresPeriodsItsGroupsAndItsTeachers) {
  for (TamanoMuestra tamano : kTamanos) {
    SCOPED_TRACE(Nombre(tamano));
    // lhortipo's rows of the centre are those whose CODCEN reads as the centre list's text.
    std::string centro = Textos(tamano, "centro", "Codcen").front();
    std::map<int, std::pair<std::string, std::string>> periodos;
    bool otroCentro = false;
    auto lhortipo = Abrir(tamano, "lhortipo");
    for (lhortipo->First(); !lhortipo->Eof(); lhortipo->Next()) {
      EXPECT_TRUE(Hora(lhortipo->AsString("Desde")) && Hora(lhortipo->AsString("Hasta")));
      if (lhortipo->AsString("CODCEN") != centro) {
        otroCentro = true;
        continue;
      }
      periodos[lhortipo->AsInteger("Numhora")] = {lhortipo->AsString("Desde"), lhortipo->AsString("Hasta")};
    }
    EXPECT_TRUE(otroCentro);
    ASSERT_FALSE(periodos.empty());
    EXPECT_GE(periodos.begin()->first, 1);
    EXPECT_LE(periodos.rbegin()->first, 20);

    std::vector<std::string> grupos = Textos(tamano, "grupos", "Codgrup");
    std::vector<std::string> catalogo = Textos(tamano, "asignat", "Codasig");
    std::set<std::int32_t> dnis;
    auto profesores = Abrir(tamano, "profesor");
    for (profesores->First(); !profesores->Eof(); profesores->Next()) dnis.insert(profesores->AsInteger("Dni"));
    std::size_t fueraDeCatalogo = 0;
    auto horgrup = Abrir(tamano, "horgrup");
    for (horgrup->First(); !horgrup->Eof(); horgrup->Next()) {
      int hora = horgrup->AsInteger("Numhora");
      ASSERT_TRUE(periodos.contains(hora)) << hora;
      EXPECT_EQ(horgrup->AsString("Hordiades"), periodos[hora].first);
      EXPECT_EQ(horgrup->AsString("Hordiahas"), periodos[hora].second);
      EXPECT_EQ(horgrup->AsString("Codcen"), centro);
      EXPECT_NE(std::find(grupos.begin(), grupos.end(), horgrup->AsString("Codgrup")), grupos.end());
      EXPECT_TRUE(dnis.contains(horgrup->AsInteger("Dni")));
      fueraDeCatalogo += std::find(catalogo.begin(), catalogo.end(), horgrup->AsString("Codasig")) == catalogo.end();
    }
    EXPECT_GT(fueraDeCatalogo, 0u);
    auto horprof = Abrir(tamano, "horprof");
    for (horprof->First(); !horprof->Eof(); horprof->Next()) {
      int hora = horprof->AsInteger("Numhora");
      ASSERT_TRUE(periodos.contains(hora)) << hora;
      EXPECT_EQ(horprof->AsString("Horad"), periodos[hora].first);
      EXPECT_TRUE(dnis.contains(horprof->AsInteger("Dni")));
    }
  }
}

// ---------------------------------------------------------------------------------------------------------
// Debian's dBase reader

// Runs a command line and returns its standard output; the exit status in `estado`.
std::string Ejecutar(const std::string& orden, int& estado) {
  std::string salida;
  FILE* tubo = ::popen(orden.c_str(), "r");
  if (tubo == nullptr) {
    estado = -1;
    return salida;
  }
  char bloque[4096];
  for (std::size_t leidos; (leidos = std::fread(bloque, 1, sizeof bloque, tubo)) > 0;) salida.append(bloque, leidos);
  estado = ::pclose(tubo);
  return salida;
}

// For every table: its name, the number of records dbfread shows and its field names; then every memo of
// alumnos as its student's code, the field and the text in hexadecimal UTF-8. Text is decoded strictly.
constexpr const char* kLectorPython = R"(
import sys, dbfread
carpeta = sys.argv[1]
for tabla in sys.argv[2:]:
    t = dbfread.DBF(carpeta + '/' + tabla + '.dbf', char_decode_errors='strict')
    registros = list(t)
    print('T', tabla, len(registros), ','.join(t.field_names))
    if tabla == 'alumnos':
        for r in registros:
            for campo in ('OBS', 'COMENTARIO'):
                if r[campo]:
                    print('M', r['CODIGO'], campo, r[campo].encode('utf-8').hex())
)";

std::string DeHexadecimal(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

TEST_F(MuestraEscrita, PythonDbfreadReadsEveryTableAndMemoOfTheSmallSampleAsWeDo) {
  int estado = 0;
  Ejecutar("/usr/bin/python3 -c 'import dbfread' 2>/dev/null", estado);
  if (estado != 0) GTEST_SKIP() << "/usr/bin/python3 lacks dbfread (Debian's python3-dbfread)";
  drive_->WriteHostFile("lector.py", kLectorPython);
  std::string orden = "/usr/bin/python3 " + drive_->Host("lector.py") + " " + drive_->Host("PEQUENA");
  for (const std::string& tabla : kTablas) orden += " " + tabla;
  std::istringstream salida(Ejecutar(orden, estado));
  ASSERT_EQ(estado, 0);

  std::size_t tablas = 0, memos = 0;
  auto alumnos = Abrir(TamanoMuestra::kPequena, "alumnos");
  for (std::string linea; std::getline(salida, linea);) {
    std::istringstream partes(linea);
    std::string clase, nombre;
    partes >> clase >> nombre;
    if (clase == "T") {
      std::size_t registros = 0;
      std::string campos;
      partes >> registros >> campos;
      EXPECT_EQ(registros, Visibles(TamanoMuestra::kPequena, nombre)) << nombre;
      std::string nuestros;
      auto tabla = Abrir(TamanoMuestra::kPequena, nombre);
      for (const storage::FieldInfo& campo : tabla->Fields()) {
        nuestros += (nuestros.empty() ? "" : ",") + campo.name;
      }
      EXPECT_EQ(campos, nuestros) << nombre;
      ++tablas;
    } else if (clase == "M") {
      std::string campo, hex;
      partes >> campo >> hex;
      std::optional<std::string> nuestro;
      for (alumnos->First(); !alumnos->Eof() && !nuestro; alumnos->Next()) {
        if (alumnos->AsString("CODIGO") == nombre) nuestro = alumnos->MemoText(campo);
      }
      EXPECT_EQ(nuestro, DeHexadecimal(hex)) << nombre << " " << campo;
      ++memos;
    }
  }
  EXPECT_EQ(tablas, kTablas.size());
  EXPECT_GT(memos, 0u);
}

// ---------------------------------------------------------------------------------------------------------
// Writing into a folder, and the sample through a whole export and import

class MuestraEscolan : public ::testing::Test {
 protected:
  TemporaryDrive drive_;
};

TEST_F(MuestraEscolan, ReplacesEscolansFilesAndRemovesItsStaleIndexesButNothingElse) {
  muestra::EscribirMuestraEscolan("C:\\LIMPIA\\ESCOLAN", TamanoMuestra::kPequena);  // every folder made on the way
  for (const char* viejo : {"ASIGNAT.MDX", "centro.mdx", "Alumnos.CDX", "notas.txt"})
    drive_.WriteHostFile(std::string("ESCOLAN/") + viejo, "viejo");
  drive_.WriteHostFile("ESCOLAN/asignat.dbf", std::string(100000, 'x'));
  muestra::EscribirMuestraEscolan("C:\\ESCOLAN", TamanoMuestra::kPequena);
  for (const std::string& archivo : Archivos()) {
    EXPECT_TRUE(drive_.ReadHostFile("ESCOLAN/" + archivo) == drive_.ReadHostFile("LIMPIA/ESCOLAN/" + archivo))
        << archivo;
  }
  for (const char* indice : {"ASIGNAT.MDX", "centro.mdx", "Alumnos.CDX"})
    EXPECT_FALSE(platform::FileExists(std::string("C:\\ESCOLAN\\") + indice));
  EXPECT_EQ(drive_.ReadHostFile("ESCOLAN/notas.txt"), "viejo");
}

TEST_F(MuestraEscolan, FailuresNameTheFolderOrTheFile) {
  drive_.WriteHostFile("OCUPADA", "un archivo donde iría la carpeta");
  drive_.MakeHostFolder("ESCOLAN/horgrup.dbf");
  struct Caso {
    std::string carpeta, nombrado;
  };
  for (const Caso& caso : {Caso{"C:\\OCUPADA", "C:\\OCUPADA"}, Caso{"C:\\ESCOLAN", "C:\\ESCOLAN\\horgrup.dbf"}}) {
    try {
      muestra::EscribirMuestraEscolan(caso.carpeta, TamanoMuestra::kPequena);
      ADD_FAILURE() << caso.carpeta << " gave no error";
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find(caso.nombrado), std::string::npos) << error.what();
    }
  }
  EXPECT_EQ(
      testing_support::FileErrorCodeOf([] { muestra::EscribirMuestraEscolan("C:\\ESC|OLAN", TamanoMuestra::kPequena); }),
      platform::kInvalidName);
}

// The generator's solution: one lesson for each teaching assignment that the export found, the first one
// on a day 0 (not transferred).
int EscribirSolucion(storage::Engine& engine) {
  storage::Table asigt(engine), soluc(engine);
  soluc.SetTableName("C:\\HTEMP\\SOLUC.DBF");
  soluc.AddFieldDef("DIA", DataType::ftInteger);
  soluc.AddFieldDef("HORA", DataType::ftInteger);
  for (const char* campo : {"AULA", "PROF", "NIVEL", "CURSO", "ASIG", "GRUPO"})
    soluc.AddFieldDef(campo, DataType::ftString, 5);
  soluc.CreateTable();
  soluc.Open();
  asigt.SetTableName("C:\\HTEMP\\ASIGT.DBF");
  asigt.Open();
  int lecciones = 0;
  for (asigt.First(); !asigt.Eof(); asigt.Next()) {
    if (asigt.AsString("CASIG").empty() || asigt.AsString("CPROF").empty()) continue;
    soluc.Append();
    soluc.SetAsInteger("DIA", lecciones == 0 ? 0 : lecciones % 5 + 1);
    soluc.SetAsInteger("HORA", lecciones / 5 % 7 + 1);
    soluc.SetAsString("AULA", "A101");
    soluc.SetAsString("PROF", asigt.AsString("CPROF"));
    for (const char* campo : {"NIVEL", "CURSO", "GRUPO"}) soluc.SetAsString(campo, asigt.AsString(campo));
    soluc.SetAsString("ASIG", asigt.AsString("CASIG"));
    soluc.Post();
    ++lecciones;
  }
  return lecciones - 1;
}

// The user gives the teachers without an identity number one in the review dialog.
void DarDniALosQueNoTienen(storage::Engine& engine) {
  storage::Table proft(engine);
  proft.SetTableName("C:\\HTEMP\\PROFT.DBF");
  proft.Open();
  std::int32_t nuevo = 90000001;
  for (proft.First(); !proft.Eof(); proft.Next()) {
    if (proft.AsInteger("DNI") != 0) continue;
    proft.Edit();
    proft.SetAsInteger("DNI", nuevo++);
    proft.Post();
  }
}

TEST_F(MuestraEscolan, TheSmallSampleGoesThroughTheExportAndTheImport) {
  muestra::EscribirMuestraEscolan("C:\\ESCOLAN", TamanoMuestra::kPequena);
  platform::SetCurrentFolder("C:\\ESCOLAN");
  storage::Engine engine(',');
  testing_support::InterfazGuionada interfaz;
  ventana::VentanaPrincipal ventana(engine, interfaz);
  ventana.Iniciar();
  EXPECT_EQ(ventana.Centros(), std::vector<std::string>{"46010001"});
  ventana.Exportar();
  ASSERT_EQ(interfaz.sucesos.back(), "mensaje:     Proceso finalizado    ");

  int lecciones = EscribirSolucion(engine);
  ASSERT_GT(lecciones, 30);
  interfaz.alRevisarProfesores = DarDniALosQueNoTienen;
  std::vector<std::string> plantilla;
  interfaz.alRevisarPlantilla = [&](storage::Engine& suyo) {
    storage::Table tabla(suyo);
    tabla.SetTableName("C:\\HTEMP\\VALENCIA\\PLANTILLA.DBF");
    tabla.Open();
    for (tabla.First(); !tabla.Eof(); tabla.Next())
      plantilla.push_back(tabla.AsString("HORAINI") + "-" + tabla.AsString("HORAFIN"));
  };
  interfaz.sucesos.clear();
  EXPECT_EQ(ventana.Importar(), importacion::FinImportacion::kCompleta);
  EXPECT_NE(std::find(interfaz.sucesos.begin(), interfaz.sucesos.end(), "profesores"), interfaz.sucesos.end());
  ASSERT_EQ(plantilla.size(), 20u);
  EXPECT_EQ(plantilla[0], "08:00-08:55");  // lhortipo's periods of the school, not those of the other one
  EXPECT_EQ(plantilla[19], "-");

  storage::Engine lector('.');
  for (const char* nombre : {"horgrup", "horprof"}) {
    storage::Table tabla(lector);
    tabla.SetDatabaseName("C:\\ESCOLAN");
    tabla.SetTableName(std::string(nombre) + ".dbf");
    tabla.Open();
    int escritos = 0;
    for (tabla.First(); !tabla.Eof(); tabla.Next(), ++escritos) {
      SCOPED_TRACE(std::string(nombre) + " record " + std::to_string(tabla.RecNo()));
      EXPECT_EQ(tabla.AsString("Codcen"), "46010001");
      EXPECT_NE(tabla.AsInteger("dni"), 0);
      EXPECT_FALSE(tabla.AsString(std::string(nombre) == "horgrup" ? "Hordiades" : "Horad").empty());
    }
    EXPECT_EQ(escritos, lecciones) << nombre;
  }
}

}  // namespace
