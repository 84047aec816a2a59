// The invented school: fixed lists of names, departments, subjects and levels, and the making of the
// school's records from them with a fixed seed.
#include "muestra/muestra_escolan_datos.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string_view>
#include <tuple>
#include <utility>

namespace muestra {
namespace {

// ---------------------------------------------------------------------------------------------------------
// Chance with a fixed seed (splitmix64), the same on every platform and library.

class Azar {
 public:
  explicit Azar(std::uint64_t semilla) : estado_(semilla) {}

  std::uint64_t Siguiente() {
    std::uint64_t z = (estado_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A whole number from `desde` to `hasta`, both included.
  int Entre(int desde, int hasta) {
    auto amplitud = static_cast<std::uint64_t>(hasta - desde + 1);
    return desde + static_cast<int>(Siguiente() % amplitud);
  }
  // True `veces` times in `de`.
  bool Probable(int veces, int de) { return Entre(1, de) <= veces; }
  template <typename Lista>
  const auto& Uno(const Lista& lista) {
    return lista[static_cast<std::size_t>(Entre(0, static_cast<int>(std::size(lista)) - 1))];
  }
  template <typename T>
  void Barajar(std::vector<T>& lista) {
    for (std::size_t i = lista.size(); i > 1; --i) {
      auto j = static_cast<std::size_t>(Siguiente() % i);
      std::swap(lista[i - 1], lista[j]);
    }
  }

 private:
  std::uint64_t estado_;
};

// ---------------------------------------------------------------------------------------------------------
// Names

constexpr std::array<std::string_view, 64> kApellidos = {
    "GARCÍA",    "GALLEGO",  "GARRIGUES", "GÁLVEZ",   "MARTÍNEZ", "MARTÍ",     "MARCO",    "LÓPEZ",
    "LLORENS",   "PÉREZ",    "PERIS",     "SÁNCHEZ",  "SANCHIS",  "SEGARRA",   "FERRER",   "FERNÁNDEZ",
    "BOSCH",     "BORRÀS",   "CASTELLÓ",  "CASAS",    "NAVARRO",  "NÚÑEZ",     "ÁLVAREZ",  "ALBIOL",
    "RIBERA",    "RICO",     "VIDAL",     "VILAPLANA", "TORRES",  "TORMO",     "MOLINA",   "MONZÓ",
    "GIMENO",    "GINER",    "ESTEVE",    "ESCRIVÀ",  "CERVERA",  "CLIMENT",   "PASTOR",   "PALLARÉS",
    "SORIANO",   "SOLER",    "BELTRÁN",   "BENLLOCH", "OLMOS",    "ORTIZ",     "IBÁÑEZ",   "JUAN",
    "ROIG",      "ROMERO",   "CUÑAT",     "DOMÉNECH", "D'OCÓN",   "MUÑOZ",     "LLOPIS",   "SALVADOR",
    "MIRALLES",  "MOLTÓ",    "BALLESTER", "BARBERÀ", "CATALÀ",   "COMPANY",   "FUSTER",   "GRAU"};

constexpr std::array<std::string_view, 28> kNombresHombre = {
    "JOSEP",  "VICENT", "JOAN",   "PAU",    "MARC",   "ÀLEX",     "JORDI",  "ANDREU",  "SERGIO", "DAVID",
    "JAVIER", "RAÚL",   "IVÁN",   "ÓSCAR",  "XAVIER", "JOSÉ LUIS", "ENRIC", "HÈCTOR",  "ADRIÀ",  "NICOLÁS",
    "MIGUEL", "RUBÉN",  "JAUME",  "FRANCESC", "ÁNGEL", "TONI",    "HUGO",   "MARTÍN"};

constexpr std::array<std::string_view, 28> kNombresMujer = {
    "MARIA",  "LAURA",  "NÚRIA", "AINHOA", "CLARA",  "MARTA",  "ANNA",    "IRENE",          "LUCÍA",  "SOFÍA",
    "ÀNGELA", "MIREIA", "NEUS",  "INMACULADA", "PAULA", "CARMEN", "ROSA MARIA", "MARIA DELS ÀNGELS", "SARA", "JÚLIA",
    "NOELIA", "ROCÍO",  "BEGOÑA", "ESTHER", "ELENA", "AITANA", "CAROLINA", "MÒNICA"};

struct Localidad {
  std::string_view nombre;
  std::uint32_t codigoPostal;
};

constexpr std::array<Localidad, 12> kLocalidades = {{
    {"VALÈNCIA", 46020},     {"BURJASSOT", 46100},         {"GODELLA", 46110},      {"PATERNA", 46980},
    {"ALBORAIA", 46120},     {"MONCADA", 46113},           {"FOIOS", 46134},        {"TAVERNES BLANQUES", 46016},
    {"MASSAMAGRELL", 46130}, {"ROCAFORT", 46111},          {"BÉTERA", 46117},       {"MELIANA", 46133},
}};

constexpr std::array<std::string_view, 14> kCalles = {
    "C/ de la Reina",    "Av. del Port",      "C/ Sant Vicent",     "C/ de l'Horta",  "Pl. de l'Església",
    "C/ Major",          "C/ de Cervantes",   "Av. de Blasco Ibáñez", "C/ del Mar",   "Camí Vell de Llíria",
    "C/ Doctor Peset",   "C/ de la Séquia",   "C/ Pintor Sorolla",  "C/ Alqueria Nova"};

constexpr std::array<std::string_view, 9> kObservaciones = {
    "Alèrgia a la penicil·lina i als fruits secs.",
    "Necessita adaptació d'accés: seure a les primeres files (hipoacúsia lleu).",
    "Informe de l'equip d'orientació de l'escola de procedència. Seguiment trimestral amb la família.\r\n"
    "Revisió: octubre.",
    "Exempt d'Educació Física el primer trimestre per lesió de genoll (certificat mèdic).",
    "Diabetis tipus 1. La família ha deixat material al despatx de direcció.",
    "Autorització per a eixir a soles a l'hora del pati.",
    "Germà al centre (mateix cognoms).",
    "Procedeix d'un altre país: incorporació tardana, programa d'acollida al sistema educatiu valencià.",
    "Custòdia compartida: les comunicacions, a tots dos progenitors."};

constexpr std::array<std::string_view, 5> kComentarios = {
    "Trasllat d'expedient sol·licitat al centre d'origen.",
    "Falta el certificat de notes del curs anterior.",
    "Beca de menjador concedida (resolució de juliol).",
    "Documentació completa.",
    "Pendent de la fotografia per al carnet escolar.\r\nRecordar a la tutora."};

struct Persona {
  std::string apellido1, apellido2, nombre;
  bool mujer = false;

  std::string Apenom() const { return apellido1 + " " + apellido2 + ", " + nombre; }
  std::string Sexo() const { return mujer ? "M" : "H"; }
};

Persona NuevaPersona(Azar& azar, std::optional<bool> mujer = std::nullopt) {
  Persona persona;
  persona.mujer = mujer.value_or(azar.Probable(1, 2));
  persona.apellido1 = azar.Uno(kApellidos);
  persona.apellido2 = azar.Uno(kApellidos);
  persona.nombre = persona.mujer ? azar.Uno(kNombresMujer) : azar.Uno(kNombresHombre);
  return persona;
}

// ---------------------------------------------------------------------------------------------------------
// Departments

enum Dep {
  kMat, kCas, kVal, kIng, kGeh, kBio, kFyq, kEfi, kTec, kMus, kDib, kFil, kCla, kFra, kAle, kEco, kRel, kOri,
  kInf, kAdm, kSan, kEle, kCom, kSsc, kFol, kNumDepartamentos
};

struct Departamento {
  std::string_view nombre;
  std::string_view aula;  // the room where its classes are given, when not in the group's own room
  std::string_view cuerpo;
};

constexpr std::array<Departamento, kNumDepartamentos> kDepartamentos = {{
    {"MATEMÁTICAS", "", "590"},
    {"LENGUA CASTELLANA Y LITERATURA", "", "590"},
    {"VALENCIANO", "", "590"},
    {"INGLÉS", "", "590"},
    {"GEOGRAFÍA E HISTORIA", "", "590"},
    {"BIOLOGÍA Y GEOLOGÍA", "LAB1", "590"},
    {"FÍSICA Y QUÍMICA", "LABFQ", "590"},
    {"EDUCACIÓN FÍSICA", "GIM", "590"},
    {"TECNOLOGÍA", "TALLER", "590"},
    {"MÚSICA", "MUS", "590"},
    {"DIBUJO", "PLAST", "590"},
    {"FILOSOFÍA", "", "590"},
    {"CULTURA CLÁSICA", "", "590"},
    {"FRANCÉS", "", "590"},
    {"ALEMÁN", "", "590"},
    {"ECONOMÍA", "", "590"},
    {"RELIGIÓN", "", "590"},
    {"ORIENTACIÓN", "", "590"},
    {"INFORMÁTICA", "", "591"},
    {"ADMINISTRACIÓN Y GESTIÓN", "", "591"},
    {"SANIDAD", "", "591"},
    {"ELECTRICIDAD Y ELECTRÓNICA", "", "591"},
    {"COMERCIO Y MARKETING", "", "591"},
    {"SERVICIOS SOCIOCULTURALES", "", "591"},
    {"FORMACIÓN Y ORIENTACIÓN LABORAL", "", "590"},
}};

// ---------------------------------------------------------------------------------------------------------
// Subjects

// How the students of a group take a subject.
enum Bloque : int {
  kSinHorario = -2,  // enrolled, but outside the school's timetable (work placement)
  kTutoria = -1,     // in the timetable, given by the group's tutor; nobody enrols in it
  kComun = 0,        // every student of the course
  // n > 0: option block n; each student takes one of its subjects, all of them at the same time
};

// A subject of a level, given in the courses `cursos` (bit c - 1 for course c).
struct Materia {
  std::string_view sufijo, litres, litresv, castellano, valenciano, horas;
  Dep departamento;
  int bloque;
  unsigned cursos;
  bool pequena;  // in the small school as well
  char rama = ' ';
};

constexpr Materia kEso[] = {
    {"MAT", "MAT", "MAT", "Matemáticas", "Matemàtiques", "04:00", kMat, kComun, 0b0111, true, 'C'},
    {"CAS", "LEN", "CAS", "Lengua Castellana y Literatura", "Llengua Castellana i Literat.", "04:00", kCas, kComun, 0b1111, true, 'L'},
    {"VAL", "VAL", "VAL", "Valenciano: Lengua y Literat.", "Valencià: Llengua i Literatura", "04:00", kVal, kComun, 0b1111, true, 'L'},
    {"ING", "ING", "ANG", "Inglés", "Anglés", "04:00", kIng, kComun, 0b1111, true, 'L'},
    {"GH", "GH", "GH", "Geografía e Historia", "Geografia i Història", "3", kGeh, kComun, 0b1111, false, 'L'},
    {"BG", "BG", "BG", "Biología y Geología", "Biologia i Geologia", "3", kBio, kComun, 0b0101, false, 'C'},
    {"FQ", "FQ", "FQ", "Física y Química", "Física i Química", "03:00", kFyq, kComun, 0b0110, false, 'C'},
    {"EF", "EF", "EF", "Educación Física", "Educació Física", "02", kEfi, kComun, 0b1111, true},
    {"TEC", "TEC", "TEC", "Tecnología y Digitalización", "Tecnologia i Digitalització", "3", kTec, kComun, 0b0011, false, 'C'},
    {"MUS", "MUS", "MUS", "Música", "Música", "02", kMus, kComun, 0b0011, false},
    {"EPV", "EPV", "EPV", "Ed. Plástica, Visual y Audiov.", "Ed. Plàstica, Visual i Audiov.", "02", kDib, kComun, 0b0011, false},
    {"ECV", "ECV", "VCE", "Educación en Valores Cívicos", "Educació en Valors Cívics", "1", kFil, kComun, 0b0100, false, 'L'},
    {"TUT", "TUT", "TUT", "Tutoría", "Tutoria", "", kOri, kTutoria, 0b1111, true},
    {"REL", "REL", "REL", "Religión", "Religió", "1", kRel, 1, 0b1111, true},
    {"AE", "AE", "ATE", "Atención Educativa", "Atenció Educativa", "01:00", kOri, 1, 0b1111, true},
    {"FRA", "FRA", "FRA", "Francés", "Francés", "02", kFra, 2, 0b1111, true, 'L'},
    {"ALE", "ALE", "ALE", "Alemán", "Alemany", "02", kAle, 2, 0b1111, false, 'L'},
    {"PRO", "PRO", "PRI", "Proyecto Interdisciplinar", "Projecte Interdisciplinari", "02", kMat, 2, 0b0111, false},
    {"EXA", "EXA", "EXA", "Expresión Artística", "Expressió Artística", "2", kDib, 2, 0b1000, false},
    {"MTA", "MAT", "MAT", "Matemáticas A", "Matemàtiques A", "04:00", kMat, 3, 0b1000, false, 'C'},
    {"MTB", "MAT", "MAT", "Matemáticas B", "Matemàtiques B", "04:00", kMat, 3, 0b1000, false, 'C'},
    {"LAT", "LAT", "LLA", "Latín", "Llatí", "3", kCla, 4, 0b1000, false, 'L'},
    {"ECO", "ECO", "ECO", "Economía y Emprendimiento", "Economia i Emprenedoria", "3", kEco, 4, 0b1000, false, 'L'},
    {"BIO", "BG", "BG", "Biología y Geología", "Biologia i Geologia", "03:00", kBio, 4, 0b1000, false, 'C'},
    {"FIQ", "FQ", "FQ", "Física y Química", "Física i Química", "3", kFyq, 5, 0b1000, false, 'C'},
    {"DIG", "DIG", "DIG", "Digitalización", "Digitalització", "3", kTec, 5, 0b1000, false},
    {"CCL", "CCL", "CLA", "Cultura Clásica", "Cultura Clàssica", "3", kCla, 5, 0b1000, false, 'L'},
};

// Subjects of the previous curriculum that the catalogue still keeps; nobody takes them this year.
constexpr Materia kEsoAnterior[] = {
    {"VET", "VET", "VET", "Valores Éticos", "Valors Ètics", "1", kFil, kSinHorario, 0b1111, true},
    {"IAE", "IAE", "IAE", "Iniciación Act. Emprendedora", "Iniciació Act. Emprenedora", "2", kEco, kSinHorario, 0b1110, false},
    {"CAA", "CAA", "CAA", "Ciencias Aplicadas Act. Prof.", "Ciències Aplicades Act. Prof.", "03:00", kBio, kSinHorario, 0b1000, false},
    {"CIE", "CIE", "CIE", "Cultura Científica", "Cultura Científica", "2", kBio, kSinHorario, 0b1100, false},
    {"ART", "ART", "ART", "Artes Escénicas y Danza", "Arts Escèniques i Dansa", "2", kMus, kSinHorario, 0b1000, false},
    {"MAA", "MAA", "MAA", "Matemáticas Académicas", "Matemàtiques Acadèmiques", "04:00", kMat, kSinHorario, 0b1100, false},
    {"MAP", "MAP", "MAP", "Matemáticas Aplicadas", "Matemàtiques Aplicades", "04:00", kMat, kSinHorario, 0b1100, false},
    {"INF", "INF", "INF", "Informática", "Informàtica", "2", kTec, kSinHorario, 0b1110, false},
    {"PLV", "PLV", "PLV", "Educación Plástica y Visual", "Educació Plàstica i Visual", "2", kDib, kSinHorario, 0b0111, false},
};

constexpr Materia kBac[] = {
    {"CAS", "LEN", "CAS", "Lengua Castellana y Literatura", "Llengua Castellana i Literat.", "03:00", kCas, kComun, 0b11, true, 'L'},
    {"VAL", "VAL", "VAL", "Valenciano: Lengua y Literat.", "Valencià: Llengua i Literatura", "3", kVal, kComun, 0b11, true, 'L'},
    {"ING", "ING", "ANG", "Inglés", "Anglés", "03:00", kIng, kComun, 0b11, true, 'L'},
    {"EF", "EF", "EF", "Educación Física", "Educació Física", "02", kEfi, kComun, 0b01, false},
    {"FIL", "FIL", "FIL", "Filosofía", "Filosofia", "3", kFil, kComun, 0b01, true, 'L'},
    {"HFI", "HFI", "HFI", "Historia de la Filosofía", "Història de la Filosofia", "02", kFil, kComun, 0b10, false, 'L'},
    {"HE", "HE", "HE", "Historia de España", "Història d'Espanya", "3", kGeh, kComun, 0b10, true, 'L'},
    {"TUT", "TUT", "TUT", "Tutoría", "Tutoria", "", kOri, kTutoria, 0b11, true},
    {"REL", "REL", "REL", "Religión", "Religió", "1", kRel, 1, 0b01, false},
    {"AE", "AE", "ATE", "Atención Educativa", "Atenció Educativa", "1", kOri, 1, 0b01, false},
    {"MAT", "MAT", "MAT", "Matemáticas", "Matemàtiques", "04:00", kMat, 2, 0b11, true, 'C'},
    {"MCS", "MCS", "MCS", "Mat. Aplicadas a las CC. SS.", "Mat. Aplicades a les CC. SS.", "04:00", kMat, 2, 0b11, false, 'L'},
    {"LAT", "LAT", "LLA", "Latín", "Llatí", "04:00", kCla, 2, 0b11, false, 'L'},
    {"DA", "DA", "DA", "Dibujo Artístico", "Dibuix Artístic", "04:00", kDib, 2, 0b11, false},
    {"FQ", "FQ", "FQ", "Física y Química", "Física i Química", "04:00", kFyq, 3, 0b01, true, 'C'},
    {"FIS", "FIS", "FIS", "Física", "Física", "04:00", kFyq, 3, 0b10, true, 'C'},
    {"ECO", "ECO", "ECO", "Economía", "Economia", "04:00", kEco, 3, 0b01, false, 'L'},
    {"EMP", "EMP", "EMP", "Empresa y Modelos de Negocio", "Empresa i Models de Negoci", "04:00", kEco, 3, 0b10, false, 'L'},
    {"GRI", "GRI", "GRE", "Griego", "Grec", "04:00", kCla, 3, 0b11, false, 'L'},
    {"BGA", "BGA", "BGA", "Biología, Geología y CC. Amb.", "Biologia, Geologia i CC. Amb.", "04:00", kBio, 4, 0b01, false, 'C'},
    {"HMC", "HMC", "HMC", "Historia del Mundo Contemp.", "Història del Món Contemp.", "04:00", kGeh, 4, 0b01, false, 'L'},
    {"CAV", "CAV", "CAV", "Cultura Audiovisual", "Cultura Audiovisual", "04:00", kDib, 4, 0b01, false},
    {"QUI", "QUI", "QUI", "Química", "Química", "04:00", kFyq, 4, 0b10, false, 'C'},
    {"BIO", "BIO", "BIO", "Biología", "Biologia", "04:00", kBio, 4, 0b10, false, 'C'},
    {"GEO", "GEO", "GEO", "Geografía", "Geografia", "04:00", kGeh, 4, 0b10, false, 'L'},
    {"HAR", "HAR", "HAR", "Historia del Arte", "Història de l'Art", "04:00", kGeh, 4, 0b10, false, 'L'},
    {"DT", "DT", "DT", "Dibujo Técnico", "Dibuix Tècnic", "04:00", kDib, 4, 0b11, false, 'C'},
    {"ANA", "ANA", "ANA", "Anatomía Aplicada", "Anatomia Aplicada", "02", kBio, 5, 0b01, false, 'C'},
    {"TIC", "TIC", "TIC", "Tecnologías de la Información", "Tecnologies de la Informació", "2", kTec, 5, 0b11, false},
    {"FRA", "FRA", "FRA", "Francés", "Francés", "02", kFra, 5, 0b11, false, 'L'},
    {"PSI", "PSI", "PSI", "Psicología", "Psicologia", "02", kFil, 5, 0b10, false, 'L'},
};

constexpr Materia kBacAnterior[] = {
    {"TIN", "TIN", "TIN", "Tecnología Industrial", "Tecnologia Industrial", "04:00", kTec, kSinHorario, 0b11, true},
    {"CTM", "CTM", "CTM", "Ciencias de la Tierra", "Ciències de la Terra", "04:00", kBio, kSinHorario, 0b10, false},
    {"ELE", "ELE", "ELE", "Electrotecnia", "Electrotècnia", "04:00", kTec, kSinHorario, 0b10, false},
    {"CUC", "CUC", "CUC", "Cultura Científica", "Cultura Científica", "2", kBio, kSinHorario, 0b01, false},
    {"LUN", "LUN", "LUN", "Literatura Universal", "Literatura Universal", "04:00", kCas, kSinHorario, 0b01, false},
    {"ECE", "ECE", "ECE", "Economía de la Empresa", "Economia de l'Empresa", "04:00", kEco, kSinHorario, 0b10, false},
    {"FUA", "FUA", "FUA", "Fundamentos del Arte", "Fonaments de l'Art", "04:00", kDib, kSinHorario, 0b11, false},
    {"IMS", "IMS", "IMS", "Imagen y Sonido", "Imatge i So", "2", kDib, kSinHorario, 0b10, false},
    {"HMU", "HMU", "HMU", "Historia de la Música y Danza", "Història de la Música i Dansa", "2", kMus, kSinHorario, 0b10, false},
    {"GEL", "GEL", "GEL", "Geología", "Geologia", "04:00", kBio, kSinHorario, 0b10, false},
};

constexpr Materia kFpb[] = {
    {"CAP", "CAP", "CAP", "Ciencias Aplicadas", "Ciències Aplicades", "05", kMat, kComun, 0b11, true, 'C'},
    {"CSO", "CSO", "CSO", "Comunicación y Sociedad", "Comunicació i Societat", "06:00", kCas, kComun, 0b11, true, 'L'},
    {"MMS", "MMS", "MMS", "Montaje y Mant. de Sistemas", "Muntatge i Mant. de Sistemes", "09", kInf, kComun, 0b01, true},
    {"OAC", "OAC", "OAC", "Operaciones Aux. Configuración", "Operacions Aux. Configuració", "7", kInf, kComun, 0b01, false},
    {"IMR", "IMR", "IMR", "Instalación y Mant. de Redes", "Instal·lació i Mant. de Xarxes", "09", kInf, kComun, 0b10, true},
    {"EEE", "EEE", "EEE", "Equipos Eléctricos y Electrón.", "Equips Elèctrics i Electrònics", "07:00", kEle, kComun, 0b10, false},
    {"PRL", "PRL", "PRL", "Prevención Riesgos Laborales", "Prevenció Riscos Laborals", "02", kFol, kComun, 0b11, false},
    {"TUT", "TUT", "TUT", "Tutoría", "Tutoria", "", kOri, kTutoria, 0b11, true},
    {"FCT", "FCT", "FCT", "Formación en Centros Trabajo", "Formació en Centres de Treball", "12", kInf, kSinHorario, 0b10, true},
};

// The vocational training cycles: each is a level of its own, whose modules are made of the kinds of module
// below and the cycle's three areas ("Fonaments de xarxes", "Tècniques de xarxes" ...).
struct Area {
  std::string_view letra, castellano, valenciano;
};

struct Ciclo {
  std::string_view nivel, nombre;
  Dep departamento;
  std::array<Area, 3> areas;
};

constexpr Ciclo kCiclos[] = {
    {"SMR", "Sistemes Microinformàtics", kInf, {{{"X", "redes", "xarxes"}, {"S", "sistemas", "sistemes"}, {"O", "ofimática", "ofimàtica"}}}},
    {"ASI", "Admin. Sistemes en Xarxa", kInf, {{{"V", "servidores", "servidors"}, {"B", "bases de datos", "bases de dades"}, {"K", "seguridad", "seguretat"}}}},
    {"DAW", "Desenv. Aplicacions Web", kInf, {{{"W", "entornos web", "entorns web"}, {"P", "programación", "programació"}, {"L", "lenguajes", "llenguatges"}}}},
    {"DAM", "Desenv. Aplicacions Multipl.", kInf, {{{"I", "interfaces", "interfícies"}, {"D", "datos", "dades"}, {"P", "procesos", "processos"}}}},
    {"GAD", "Gestió Administrativa", kAdm, {{{"C", "contabilidad", "comptabilitat"}, {"T", "tesorería", "tresoreria"}, {"N", "nóminas", "nòmines"}}}},
    {"AFI", "Administració i Finances", kAdm, {{{"F", "finanzas", "finances"}, {"A", "auditoría", "auditoria"}, {"I", "impuestos", "impostos"}}}},
    {"ASD", "Assistència a la Direcció", kAdm, {{{"P", "protocolo", "protocol"}, {"D", "documentos", "documents"}, {"E", "eventos", "esdeveniments"}}}},
    {"CAE", "Cures Auxiliars d'Infermeria", kSan, {{{"H", "higiene", "higiene"}, {"U", "urgencias", "urgències"}, {"O", "odontología", "odontologia"}}}},
    {"FAR", "Farmàcia i Parafarmàcia", kSan, {{{"F", "fármacos", "fàrmacs"}, {"D", "dispensación", "dispensació"}, {"P", "parafarmacia", "parafarmàcia"}}}},
    {"EMS", "Emergències Sanitàries", kSan, {{{"A", "asistencia", "assistència"}, {"T", "transporte", "transport"}, {"L", "logística", "logística"}}}},
    {"IEA", "Instal·lacions Elèctriques", kEle, {{{"E", "electricidad", "electricitat"}, {"A", "automatismos", "automatismes"}, {"I", "instalaciones", "instal·lacions"}}}},
    {"STI", "Sistemes de Telecomunicació", kEle, {{{"T", "telefonía", "telefonia"}, {"R", "radio", "ràdio"}, {"C", "cableado", "cablatge"}}}},
    {"AUT", "Automatització i Robòtica", kEle, {{{"R", "robótica", "robòtica"}, {"N", "neumática", "pneumàtica"}, {"Q", "control", "control"}}}},
    {"ACO", "Activitats Comercials", kCom, {{{"V", "ventas", "vendes"}, {"E", "escaparatismo", "aparadorisme"}, {"A", "almacén", "magatzem"}}}},
    {"MKT", "Màrqueting i Publicitat", kCom, {{{"M", "marketing", "màrqueting"}, {"P", "publicidad", "publicitat"}, {"I", "mercados", "mercats"}}}},
    {"CIN", "Comerç Internacional", kCom, {{{"A", "aduanas", "duanes"}, {"L", "logística", "logística"}, {"N", "negociación", "negociació"}}}},
    {"EIN", "Educació Infantil", kSsc, {{{"J", "juego", "joc"}, {"E", "expresión", "expressió"}, {"D", "desarrollo", "desenvolupament"}}}},
    {"ISO", "Integració Social", kSsc, {{{"M", "mediación", "mediació"}, {"I", "inserción", "inserció"}, {"A", "atención", "atenció"}}}},
    {"AST", "Animació Sociocultural", kSsc, {{{"A", "animación", "animació"}, {"O", "ocio", "oci"}, {"T", "turismo", "turisme"}}}},
    {"APD", "Atenció a la Dependència", kSsc, {{{"D", "dependencia", "dependència"}, {"S", "apoyo", "suport"}, {"C", "comunicación", "comunicació"}}}},
};

// The kinds of module of every cycle; "desdoble": two teachers share the group's workshop hours.
struct ClaseDeModulo {
  std::string_view letra, castellano, valenciano, horas;
  unsigned cursos;
  bool desdoble;
};

constexpr ClaseDeModulo kClasesDeModulo[] = {
    {"F", "Fundamentos de ", "Fonaments de ", "04:00", 0b01, false},
    {"T", "Técnicas de ", "Tècniques de ", "5", 0b01, true},
    {"G", "Gestión de ", "Gestió de ", "4", 0b10, false},
    {"W", "Taller de ", "Taller de ", "05:00", 0b10, true},
};

// The department of the cycle itself, for the modules of every cycle that belong to none.
constexpr Dep kDelCiclo = kNumDepartamentos;

constexpr Materia kModulosDeTodoCiclo[] = {
    {"FOL", "FOL", "FOL", "Formación y Orientación Lab.", "Formació i Orientació Laboral", "03:00", kFol, kComun, 0b01, true},
    {"ANG", "ING", "ANG", "Inglés Técnico", "Anglés Tècnic", "2", kIng, kComun, 0b01, true, 'L'},
    {"EIE", "EIE", "EIE", "Empresa e Iniciativa Empr.", "Empresa i Iniciativa Empr.", "3", kFol, kComun, 0b10, true},
    {"PRJ", "PRJ", "PRJ", "Proyecto", "Projecte", "02", kDelCiclo, kComun, 0b10, true},
    {"TUT", "TUT", "TUT", "Tutoría", "Tutoria", "", kOri, kTutoria, 0b11, true},
    {"FCT", "FCT", "FCT", "Formación en Centros Trabajo", "Formació en Centres de Treball", "12", kDelCiclo, kSinHorario, 0b10, true},
};

// ---------------------------------------------------------------------------------------------------------
// Levels

// A subject of a level as the making of the school uses it.
struct MateriaNivel {
  std::string sufijo, litres, litresv, castellano, valenciano, horas;
  Dep departamento = kMat;
  int bloque = kComun;
  unsigned cursos = 0;
  bool pequena = false;
  char rama = ' ';
  bool desdoble = false;
  bool anterior = false;  // of the previous curriculum: in the catalogue only
};

// A level of studies. Several levels may share a code (the evening Bachillerato shares the day one's
// subjects); only the first of them puts the subjects into the catalogue.
struct Nivel {
  std::string codigo;       // characters 2 to 4 of the subject codes
  std::string codigoGrupo;  // characters 2 to 4 of the group codes ("B" makes "2BA")
  std::string nombre;
  int cursos = 0;
  std::array<int, 4> grupos{};  // per course
  std::string turnos;          // the shift of its i-th group of a course: turnos[i % size]
  int alumnosPorGrupo = 0;
  std::string perdida;  // the subject code's end of a subject its students still have but the catalogue lost
  std::vector<MateriaNivel> materias;
};

struct NivelFijo {
  std::string_view codigo, codigoGrupo, nombre;
  std::span<const Materia> materias, anteriores;
  int cursos;
  std::array<int, 4> gruposPequena, gruposGrande;
  std::string_view turnos;
  std::array<int, 2> alumnos;  // per group, small and large
  std::string_view perdida;
};

constexpr NivelFijo kNivelesFijos[] = {
    {"ESO", "ESO", "ESO", kEso, kEsoAnterior, 4, {2, 1, 0, 0}, {10, 10, 10, 10}, "M", {8, 27}, "CN"},
    {"BAC", "BAC", "Batxillerat", kBac, kBacAnterior, 2, {1, 0}, {7, 7}, "M", {8, 28}, "CMC"},
    {"BAC", "B", "Batxillerat nocturn", kBac, {}, 2, {0, 1}, {1, 1}, "T", {7, 24}, "CMC"},
    {"FPB", "FPB", "FP Bàsica", kFpb, {}, 2, {0, 1}, {1, 1}, "T", {7, 16}, "ACP"},
};

// The groups per course of every cycle, in the large school only; a cycle is given in the morning or, every
// other one, in the afternoon.
constexpr std::array<int, 4> kGruposPorCursoDeCiclo = {1, 1, 0, 0};
constexpr int kAlumnosPorGrupoDeCiclo = 30;

MateriaNivel DeCatalogo(const Materia& materia, bool anterior, Dep departamentoDelCiclo) {
  MateriaNivel hecha{std::string(materia.sufijo),     std::string(materia.litres),     std::string(materia.litresv),
                     std::string(materia.castellano), std::string(materia.valenciano), std::string(materia.horas)};
  hecha.departamento = materia.departamento == kDelCiclo ? departamentoDelCiclo : materia.departamento;
  hecha.bloque = materia.bloque;
  hecha.cursos = materia.cursos;
  hecha.pequena = materia.pequena;
  hecha.rama = materia.rama;
  hecha.anterior = anterior;
  return hecha;
}

Nivel NivelFijado(const NivelFijo& fijo, TamanoMuestra tamano) {
  bool grande = tamano == TamanoMuestra::kGrande;
  Nivel nivel{std::string(fijo.codigo), std::string(fijo.codigoGrupo), std::string(fijo.nombre), fijo.cursos,
              grande ? fijo.gruposGrande : fijo.gruposPequena, std::string(fijo.turnos), fijo.alumnos[grande ? 1 : 0],
              std::string(fijo.perdida), {}};
  for (const Materia& materia : fijo.materias) nivel.materias.push_back(DeCatalogo(materia, false, kMat));
  for (const Materia& materia : fijo.anteriores) nivel.materias.push_back(DeCatalogo(materia, true, kMat));
  return nivel;
}

Nivel NivelDeCiclo(const Ciclo& ciclo, std::size_t orden) {
  Nivel nivel{std::string(ciclo.nivel), std::string(ciclo.nivel), std::string(ciclo.nombre), 2, kGruposPorCursoDeCiclo,
              orden % 2 == 0 ? "M" : "T", kAlumnosPorGrupoDeCiclo, "RET", {}};
  for (const ClaseDeModulo& clase : kClasesDeModulo) {
    for (const Area& area : ciclo.areas) {
      MateriaNivel modulo;
      modulo.sufijo = std::string(clase.letra) + std::string(area.letra);
      modulo.litres = modulo.sufijo + (clase.cursos == 0b01 ? "1" : "2");
      modulo.litresv = modulo.litres;
      modulo.castellano = std::string(clase.castellano) + std::string(area.castellano);
      modulo.valenciano = std::string(clase.valenciano) + std::string(area.valenciano);
      modulo.horas = std::string(clase.horas);
      modulo.departamento = ciclo.departamento;
      modulo.cursos = clase.cursos;
      modulo.desdoble = clase.desdoble;
      nivel.materias.push_back(std::move(modulo));
    }
  }
  for (const Materia& materia : kModulosDeTodoCiclo) {
    nivel.materias.push_back(DeCatalogo(materia, false, ciclo.departamento));
  }
  return nivel;
}

std::vector<Nivel> Niveles(TamanoMuestra tamano) {
  std::vector<Nivel> niveles;
  for (const NivelFijo& fijo : kNivelesFijos) niveles.push_back(NivelFijado(fijo, tamano));
  if (tamano == TamanoMuestra::kGrande) {
    for (std::size_t i = 0; i < std::size(kCiclos); ++i) niveles.push_back(NivelDeCiclo(kCiclos[i], i));
  }
  return niveles;
}

// The weekly hours that one of our hours texts stands for: the digits of its first two characters, 1 when
// there are none or they make 0 (as the subject export reads them).
int HorasSemanales(std::string_view texto) {
  std::string_view dos = texto.substr(0, 2);
  int horas = 0;
  for (char c : dos) {
    if (c >= '0' && c <= '9') horas = horas * 10 + (c - '0');
  }
  return horas > 0 ? horas : 1;
}

std::string Ordinal(int curso) {
  static constexpr std::array<std::string_view, 4> kOrdinales = {"1r", "2n", "3r", "4t"};
  return std::string(kOrdinales[static_cast<std::size_t>(curso - 1)]);
}

std::string DosCifras(int valor) { return (valor < 10 ? "0" : "") + std::to_string(valor); }

// ---------------------------------------------------------------------------------------------------------
// Class periods

struct PeriodoFijo {
  int numero;
  std::string_view desde, hasta;
};

// The school's day: seven periods in the morning and seven in the afternoon, with a break after the third
// of each.
constexpr PeriodoFijo kPeriodosDelCentro[] = {
    {1, "08:00", "08:55"},  {2, "08:55", "09:50"},  {3, "09:50", "10:45"},  {4, "11:15", "12:10"},
    {5, "12:10", "13:05"},  {6, "13:05", "14:00"},  {7, "14:00", "14:55"},  {8, "15:00", "15:55"},
    {9, "15:55", "16:50"},  {10, "16:50", "17:45"}, {11, "18:05", "19:00"}, {12, "19:00", "19:55"},
    {13, "19:55", "20:50"}, {14, "20:50", "21:45"},
};

// The other school in the same table keeps a day of its own.
constexpr PeriodoFijo kPeriodosDelOtroCentro[] = {
    {1, "08:30", "09:25"}, {2, "09:25", "10:20"}, {3, "10:20", "11:15"},
    {4, "11:45", "12:40"}, {5, "12:40", "13:35"}, {6, "13:35", "14:30"},
};

constexpr int kDiasLectivos = 5;
constexpr int kPeriodosPorTurno = 7;
constexpr int kHorasDeProfesor = 20;  // the weekly teaching hours a department's teachers are given

// ---------------------------------------------------------------------------------------------------------
// The making of the school, in the order in which each part needs the ones before.

class Fabrica {
 public:
  explicit Fabrica(TamanoMuestra tamano)
      : grande_(tamano == TamanoMuestra::kGrande), niveles_(Niveles(tamano)), azar_(grande_ ? 20250912 : 912) {}

  Escuela Hacer() {
    Centros();
    Periodos();
    Asignaturas();
    Grupos();
    Profesores();
    for (std::size_t i = 0; i < grupos_.size(); ++i) ClasesDelGrupo(grupos_[i], i);
    for (const GrupoDeNivel& grupo : grupos_) AlumnosDelGrupo(grupo);
    Ocupaciones();
    AlumnosSinGrupo();
    RegistrosBorrados();
    ProfesoresDeBaja();
    azar_.Barajar(escuela_.profesores);
    if (!grande_) ProfesoresSinDni();
    return std::move(escuela_);
  }

 private:
  struct GrupoDeNivel {
    std::size_t nivel;
    int curso;
    std::size_t grupo;  // in escuela_.grupos
  };

  // Whether the school gives the subject in the course this year.
  bool EnCurso(const MateriaNivel& materia, int curso) const {
    return ((materia.cursos >> (curso - 1)) & 1u) != 0 && !materia.anterior && (grande_ || materia.pequena);
  }
  static bool EnHorario(const MateriaNivel& materia) { return materia.bloque != kSinHorario; }
  static std::string Codigo(int curso, const Nivel& nivel, std::string_view sufijo) {
    return std::to_string(curso) + nivel.codigo + std::string(sufijo);
  }

  void Centros() {
    Centro antiguo{46019999, "SECCIÓ DE L'IES CAMÍ DE L'HORTA", "C/ de la Séquia, 2", "VALÈNCIA", "961234500",
                   "", "Q4668012J", 46250, 46020, 0, 0, true};
    Centro centro{kCodigoCentro, "IES CAMÍ DE L'HORTA", "C/ de l'Alqueria Nova, 14", "VALÈNCIA", "961234507",
                  "961234508", "Q4668012J", 46250, 46020, 12450.0, 8730.5, false};
    escuela_.centros = {antiguo, centro};
  }

  void Periodos() {
    for (const PeriodoFijo& fijo : kPeriodosDelOtroCentro) {
      escuela_.periodos.push_back(
          {kCodigoOtroCentro, "01", fijo.numero, std::string(fijo.desde), std::string(fijo.hasta)});
    }
    for (const PeriodoFijo& fijo : kPeriodosDelCentro) {
      escuela_.periodos.push_back({kCodigoCentro, "01", fijo.numero, std::string(fijo.desde), std::string(fijo.hasta)});
      horario_[fijo.numero] = {std::string(fijo.desde), std::string(fijo.hasta)};
    }
  }

  // Every subject of a course that has groups, level by level and course by course; the evening
  // Bachillerato's subjects are the day one's.
  void Asignaturas() {
    std::set<std::pair<std::string, int>> conGrupos;
    for (const Nivel& nivel : niveles_) {
      for (int curso = 1; curso <= nivel.cursos; ++curso) {
        if (nivel.grupos[static_cast<std::size_t>(curso - 1)] > 0) conGrupos.insert({nivel.codigo, curso});
      }
    }
    for (const Nivel& nivel : niveles_) {
      for (int curso = 1; curso <= nivel.cursos; ++curso) {
        if (!conGrupos.contains({nivel.codigo, curso})) continue;
        for (const MateriaNivel& materia : nivel.materias) {
          bool enCatalogo = ((materia.cursos >> (curso - 1)) & 1u) != 0 && (grande_ || materia.pequena);
          std::string codigo = Codigo(curso, nivel, materia.sufijo);
          if (!enCatalogo || !catalogo_.insert(codigo).second) continue;
          escuela_.asignaturas.push_back({codigo, materia.litres, materia.litresv, materia.castellano,
                                          materia.valenciano, materia.horas, materia.bloque > 0, materia.rama});
        }
      }
    }
  }

  void Grupos() {
    int porTurno[2] = {0, 0};
    for (std::size_t n = 0; n < niveles_.size(); ++n) {
      const Nivel& nivel = niveles_[n];
      for (int curso = 1; curso <= nivel.cursos; ++curso) {
        for (int i = 0; i < nivel.grupos[static_cast<std::size_t>(curso - 1)]; ++i) {
          char letra = static_cast<char>('A' + i);
          char turno = nivel.turnos[static_cast<std::size_t>(i) % nivel.turnos.size()];
          int& enTurno = porTurno[turno == 'T' ? 1 : 0];
          Grupo grupo;
          grupo.codigo = std::to_string(curso) + nivel.codigoGrupo + letra;
          grupo.turno = turno;
          grupo.nombre = Ordinal(curso) + " " + nivel.nombre + " " + letra;
          grupo.curso = std::to_string(curso) + nivel.codigo;
          grupo.aula = AulaDeGrupo(enTurno++);
          grupo.alumnos = nivel.alumnosPorGrupo + (grande_ ? azar_.Entre(-2, 2) : azar_.Entre(-1, 1));
          grupos_.push_back({n, curso, escuela_.grupos.size()});
          escuela_.grupos.push_back(std::move(grupo));
        }
      }
    }
    Aulas(std::max(porTurno[0], porTurno[1]));
  }

  // Group rooms are numbered by building, floor and room: A101, A102 ... B101 ...; a morning group and an
  // afternoon group share one.
  static std::string AulaDeGrupo(int orden) {
    constexpr int kPorPlanta = 12, kPlantas = 3;
    char edificio = static_cast<char>('A' + orden / (kPorPlanta * kPlantas));
    int planta = orden / kPorPlanta % kPlantas + 1;
    return std::string(1, edificio) + std::to_string(planta) + DosCifras(orden % kPorPlanta + 1);
  }

  void Aulas(int deGrupo) {
    for (int i = 0; i < deGrupo; ++i) {
      std::string codigo = AulaDeGrupo(i);
      Aula aula{codigo, "Aula " + codigo.substr(1, 1) + "." + codigo.substr(2) + ", edifici " + codigo.substr(0, 1), 30,
                codigo[1] - '0'};
      escuela_.aulas.push_back(std::move(aula));
    }
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 10> kEspeciales = {{
        {"LAB1", "Laboratori de Biologia"}, {"LABFQ", "Laboratori de Física i Química"}, {"GIM", "Gimnàs"},
        {"TALLER", "Taller de Tecnologia"}, {"MUS", "Aula de Música"}, {"PLAST", "Aula de Plàstica"},
        {"INF1", "Aula d'Informàtica 1"}, {"INF2", "Aula d'Informàtica 2"}, {"BIB", "Biblioteca"},
        {"SUM", "Saló d'Actes"},
    }};
    for (const auto& [codigo, nombre] : kEspeciales) {
      escuela_.aulas.push_back({std::string(codigo), std::string(nombre), codigo == "SUM" ? 200 : 28, 0});
    }
  }

  // ---- Teachers: as many per department as its hours need.

  void Profesores() {
    std::array<int, kNumDepartamentos> horas{};
    for (const GrupoDeNivel& grupo : grupos_) {
      for (const MateriaNivel& materia : niveles_[grupo.nivel].materias) {
        if (!EnCurso(materia, grupo.curso) || !EnHorario(materia) || materia.bloque == kTutoria) continue;
        horas[materia.departamento] += HorasSemanales(materia.horas) * (materia.desdoble ? 2 : 1);
      }
    }
    for (std::size_t dep = 0; dep < horas.size(); ++dep) {
      int cuantos = (horas[dep] + kHorasDeProfesor - 1) / kHorasDeProfesor;
      for (int i = 0; i < cuantos; ++i) plantilla_[dep].push_back(NuevoProfesor(static_cast<Dep>(dep)));
    }
  }

  std::size_t NuevoProfesor(Dep dep) {
    Profesor profesor;
    profesor.dni = NuevoDni();
    profesor.letra = LetraDni(*profesor.dni);
    profesor.apenom = NuevaPersona(azar_).Apenom();
    profesor.departamento = kDepartamentos[dep].nombre;
    profesor.cuerpo = kDepartamentos[dep].cuerpo;
    profesor.alta = {azar_.Entre(1990, 2024), 9, 1};
    profesor.telefono = "6" + std::to_string(azar_.Entre(10000000, 99999999));
    profesor.domicilio = Domicilio();
    escuela_.profesores.push_back(std::move(profesor));
    carga_.push_back(0);
    return escuela_.profesores.size() - 1;
  }

  std::uint32_t NuevoDni() {
    for (;;) {
      auto dni = static_cast<std::uint32_t>(azar_.Entre(10'000'000, 79'999'999));
      if (dnis_.insert(dni).second) return dni;
    }
  }

  static std::string LetraDni(std::uint32_t dni) { return std::string(1, "TRWAGMYFPDXBNJZSQVHLCKE"[dni % 23]); }

  std::string Domicilio() {
    return std::string(azar_.Uno(kCalles)) + ", " + std::to_string(azar_.Entre(1, 120));
  }

  // The department's teacher with the fewest hours so far (other than `otro`), who takes `horas` more.
  std::size_t ProfesorPara(Dep dep, int horas, std::optional<std::size_t> otro = std::nullopt) {
    const std::vector<std::size_t>& candidatos = plantilla_[dep];
    std::size_t elegido = candidatos.front();
    bool hay = false;
    for (std::size_t candidato : candidatos) {
      if (candidato == otro) continue;
      if (!hay || carga_[candidato] < carga_[elegido]) elegido = candidato;
      hay = true;
    }
    carga_[elegido] += horas;
    return elegido;
  }

  // ---- The group timetable.

  // The subjects given to a group in one period, each with its teacher.
  using Sesion = std::vector<std::pair<const MateriaNivel*, std::size_t>>;

  // The group's week: its sessions taken in turn from every subject (and option block), so that a subject's
  // hours fall on different days; from group to group the week starts at another point.
  void ClasesDelGrupo(const GrupoDeNivel& grupo, std::size_t orden) {
    std::vector<Sesion> semana = Intercaladas(SesionesDelGrupo(grupo));
    if (semana.empty()) return;
    if (semana.size() > kDiasLectivos * kPeriodosPorTurno)
      throw std::logic_error("a group's week does not fit its shift");
    std::rotate(semana.begin(), semana.begin() + static_cast<std::ptrdiff_t>(orden * 3 % semana.size()), semana.end());
    int primeraHora = escuela_.grupos[grupo.grupo].turno == 'T' ? kPeriodosPorTurno + 1 : 1;
    for (std::size_t i = 0; i < semana.size(); ++i) {
      int dia = static_cast<int>(i) % kDiasLectivos + 1;
      int hora = static_cast<int>(i) / kDiasLectivos + primeraHora;
      for (const auto& [materia, profesor] : semana[i]) AnadirClase(grupo, *materia, profesor, dia, hora);
    }
  }

  // One queue of sessions per subject given to every student, one per option block, the tutor's last.
  std::vector<std::vector<Sesion>> SesionesDelGrupo(const GrupoDeNivel& grupo) {
    std::vector<std::vector<Sesion>> colas;
    std::map<int, std::size_t> colaDelBloque;
    const MateriaNivel* tutoria = nullptr;
    std::optional<std::size_t> tutor;
    for (const MateriaNivel& materia : niveles_[grupo.nivel].materias) {
      if (!EnCurso(materia, grupo.curso) || !EnHorario(materia)) continue;
      if (materia.bloque == kTutoria) {
        tutoria = &materia;
        continue;
      }
      std::size_t cola = colas.size();
      if (materia.bloque > 0) cola = colaDelBloque.try_emplace(materia.bloque, cola).first->second;
      if (cola == colas.size()) colas.emplace_back();
      int horas = HorasSemanales(materia.horas);
      std::vector<Sesion>& sesiones = colas[cola];
      if (sesiones.size() < static_cast<std::size_t>(horas)) sesiones.resize(static_cast<std::size_t>(horas));
      std::size_t profesor = ProfesorPara(materia.departamento, horas);
      std::optional<std::size_t> segundo;
      if (materia.desdoble) segundo = ProfesorPara(materia.departamento, horas, profesor);
      for (int h = 0; h < horas; ++h) {
        sesiones[static_cast<std::size_t>(h)].push_back({&materia, profesor});
        if (segundo) sesiones[static_cast<std::size_t>(h)].push_back({&materia, *segundo});
      }
      if (!tutor && materia.bloque == kComun) tutor = profesor;
    }
    if (tutoria && tutor) {
      int horas = HorasSemanales(tutoria->horas);
      carga_[*tutor] += horas;
      escuela_.grupos[grupo.grupo].tutor = escuela_.profesores[*tutor].dni;
      colas.emplace_back(static_cast<std::size_t>(horas), Sesion{{tutoria, *tutor}});
    }
    return colas;
  }

  static std::vector<Sesion> Intercaladas(std::vector<std::vector<Sesion>> colas) {
    std::vector<Sesion> semana;
    for (std::size_t ronda = 0;; ++ronda) {
      bool alguna = false;
      for (std::vector<Sesion>& cola : colas) {
        if (ronda >= cola.size()) continue;
        semana.push_back(std::move(cola[ronda]));
        alguna = true;
      }
      if (!alguna) return semana;
    }
  }

  // A row of the group timetable, in the department's room if it has one. The tutor's hour of the first two
  // courses of ESO is shared with the reading plan, a row whose subject the catalogue does not have.
  void AnadirClase(const GrupoDeNivel& grupo, const MateriaNivel& materia, std::size_t profesor, int dia, int hora) {
    const Nivel& nivel = niveles_[grupo.nivel];
    const Grupo& suyo = escuela_.grupos[grupo.grupo];
    std::string_view especial = kDepartamentos[materia.departamento].aula;
    const auto& [desde, hasta] = horario_.at(hora);
    Clase clase{suyo.codigo,
                Codigo(grupo.curso, nivel, materia.sufijo),
                especial.empty() ? suyo.aula : std::string(especial),
                escuela_.profesores[profesor].dni,
                dia,
                hora,
                desde,
                hasta};
    escuela_.clases.push_back(clase);
    profesorDeClase_.push_back(profesor);
    if (materia.bloque == kTutoria && nivel.codigo == "ESO" && grupo.curso <= 2) {
      clase.codasig = Codigo(grupo.curso, nivel, "LEC");
      escuela_.clases.push_back(std::move(clase));
      profesorDeClase_.push_back(profesor);
    }
  }

  // ---- Students and their enrolments.

  void AlumnosDelGrupo(const GrupoDeNivel& grupo) {
    for (int i = 0; i < escuela_.grupos[grupo.grupo].alumnos; ++i) NuevoAlumno(grupo);
  }

  void NuevoAlumno(const GrupoDeNivel& grupo) {
    const Nivel& nivel = niveles_[grupo.nivel];
    const Grupo& suyo = escuela_.grupos[grupo.grupo];
    Persona persona = NuevaPersona(azar_);
    Alumno alumno;
    alumno.codigo = CodigoDeAlumno(escuela_.alumnos.size());
    alumno.nia = "1" + std::to_string(azar_.Entre(1000000, 9999999));
    alumno.apenom = persona.Apenom();
    alumno.sexo = persona.Sexo();
    alumno.codgrup = suyo.codigo;
    alumno.curso = suyo.curso;
    alumno.turno = std::string(1, suyo.turno);
    // A few records were never told whether the student repeats.
    if (escuela_.alumnos.size() % 40 != 7) alumno.repite = azar_.Probable(8, 100) ? 1 : 0;
    int edad = EdadAlEmpezar(nivel) + grupo.curso - 1 + (alumno.repite == 1 ? 1 : 0);
    alumno.nacimiento = {kCursoAcademico - edad, azar_.Entre(1, 12), azar_.Entre(1, 28)};
    alumno.matricula = {kCursoAcademico, 7, azar_.Entre(1, 28)};
    const Localidad& localidad = azar_.Uno(kLocalidades);
    alumno.localidadNacimiento = azar_.Probable(4, 5) ? "VALÈNCIA" : std::string(azar_.Uno(kLocalidades).nombre);
    alumno.domicilio = Domicilio();
    alumno.localidad = localidad.nombre;
    alumno.codigoPostal = localidad.codigoPostal;
    alumno.telefono = azar_.Probable(1, 2) ? "96" + std::to_string(azar_.Entre(1000000, 9999999))
                                           : "6" + std::to_string(azar_.Entre(10000000, 99999999));
    if (edad >= 14 && azar_.Probable(3, 5)) alumno.dni = DniConLetra();
    Persona padre = NuevaPersona(azar_, false), madre = NuevaPersona(azar_, true);
    padre.apellido1 = persona.apellido1;
    madre.apellido1 = persona.apellido2;
    alumno.padre = padre.Apenom();
    alumno.dniPadre = DniConLetra();
    alumno.madre = madre.Apenom();
    alumno.dniMadre = DniConLetra();
    alumno.transporte = azar_.Probable(1, 10);
    alumno.tasa = nivel.codigo == "ESO" && grupo.curso <= 2 ? 0 : 1.12;  // the school insurance from 3rd of ESO on
    if (azar_.Probable(12, 100)) alumno.observaciones = azar_.Uno(kObservaciones);
    if (azar_.Probable(5, 100)) alumno.comentario = azar_.Uno(kComentarios);
    alumno.religion = Matricular(grupo, alumno);
    escuela_.alumnos.push_back(std::move(alumno));
  }

  // File numbers grow with the date of admission; a few students who came from another region keep the
  // ten-figure number they brought.
  std::string CodigoDeAlumno(std::size_t orden) {
    siguienteCodigo_ += static_cast<std::uint32_t>(azar_.Entre(1, 3));
    if (orden % 250 == 9) return std::to_string(2024000000u + siguienteCodigo_);
    return std::to_string(siguienteCodigo_);
  }

  int EdadAlEmpezar(const Nivel& nivel) {
    if (nivel.codigo == "ESO") return 12;
    if (nivel.codigo == "FPB") return 15;
    if (nivel.codigoGrupo == "B") return azar_.Entre(18, 40);
    if (nivel.codigo == "BAC") return 16;
    return azar_.Entre(17, 22);
  }

  std::string DniConLetra() {
    std::uint32_t numero = static_cast<std::uint32_t>(azar_.Entre(20'000'000, 99'999'999));
    return std::to_string(numero) + LetraDni(numero);
  }

  // Enrols the student in the subjects of the course: the common ones, one of each option block (a few
  // changed their choice, and the first enrolment is deleted), a subject of the course before still to pass,
  // and now and then a subject that the catalogue has lost. Returns whether the student takes Religion.
  bool Matricular(const GrupoDeNivel& grupo, const Alumno& alumno) {
    const Nivel& nivel = niveles_[grupo.nivel];
    int convocatoria = alumno.repite == 1 ? 2 : 1;
    auto matricular = [&](std::string codigo, bool pendiente, bool borrado) {
      escuela_.matriculas.push_back(
          {alumno.codigo, std::move(codigo), pendiente ? 1 : convocatoria, pendiente, borrado});
    };
    std::map<int, std::vector<const MateriaNivel*>> bloques;
    for (const MateriaNivel& materia : nivel.materias) {
      if (!EnCurso(materia, grupo.curso) || materia.bloque == kTutoria) continue;
      if (materia.bloque > 0) {
        bloques[materia.bloque].push_back(&materia);
      } else {
        matricular(Codigo(grupo.curso, nivel, materia.sufijo), false, false);
      }
    }
    bool religion = false;
    bool cambiaDeOpcion = escuela_.alumnos.size() % 25 == 3;
    for (const auto& [bloque, opciones] : bloques) {
      auto elegida = static_cast<std::size_t>(azar_.Entre(0, static_cast<int>(opciones.size()) - 1));
      if (opciones.size() > 1 && std::exchange(cambiaDeOpcion, false)) {
        matricular(Codigo(grupo.curso, nivel, opciones[(elegida + 1) % opciones.size()]->sufijo), false, true);
      }
      matricular(Codigo(grupo.curso, nivel, opciones[elegida]->sufijo), false, false);
      religion = religion || opciones[elegida]->sufijo == "REL";
    }
    if (grupo.curso > 1 && alumno.repite != 1 && azar_.Probable(6, 100)) {
      std::vector<std::string> anteriores;
      for (const MateriaNivel& materia : nivel.materias) {
        std::string codigo = Codigo(grupo.curso - 1, nivel, materia.sufijo);
        if (materia.bloque == kComun && EnCurso(materia, grupo.curso - 1) && catalogo_.contains(codigo))
          anteriores.push_back(codigo);
      }
      if (!anteriores.empty()) matricular(azar_.Uno(anteriores), true, false);
    }
    if (azar_.Probable(3, 100)) matricular(Codigo(grupo.curso, nivel, nivel.perdida), false, false);
    return religion;
  }

  // ---- The teacher timetable: each teacher's classes, two periods on duty and a department meeting, in
  // free periods of the teacher's shift.

  void Ocupaciones() {
    std::vector<std::vector<Ocupacion>> porProfesor(escuela_.profesores.size());
    std::set<std::tuple<std::size_t, int, int>> ocupado;
    for (std::size_t i = 0; i < escuela_.clases.size(); ++i) {
      const Clase& clase = escuela_.clases[i];
      std::size_t profesor = profesorDeClase_[i];
      if (!ocupado.insert({profesor, clase.dia, clase.hora}).second) continue;
      porProfesor[profesor].push_back({clase.dni, clase.dia, clase.hora, clase.desde, clase.hasta, 'L', clase.codgrup,
                                       clase.codasig, clase.aula});
    }
    for (std::size_t profesor = 0; profesor < porProfesor.size(); ++profesor) {
      std::vector<Ocupacion>& suyas = porProfesor[profesor];
      int primeraHora = !suyas.empty() && suyas.front().hora > kPeriodosPorTurno ? kPeriodosPorTurno + 1 : 1;
      int libres = 0;
      for (int k = 0; k < kDiasLectivos * kPeriodosPorTurno && libres < 3; ++k) {
        int slot = (static_cast<int>(profesor) * 7 + k * 4) % (kDiasLectivos * kPeriodosPorTurno);
        int dia = slot % kDiasLectivos + 1, hora = slot / kDiasLectivos + primeraHora;
        if (!ocupado.insert({profesor, dia, hora}).second) continue;
        const auto& [desde, hasta] = horario_.at(hora);
        suyas.push_back({escuela_.profesores[profesor].dni, dia, hora, desde, hasta, libres < 2 ? 'G' : 'R', "", "",
                         libres < 2 ? "BIB" : ""});
        ++libres;
      }
      std::sort(suyas.begin(), suyas.end(), [](const Ocupacion& a, const Ocupacion& b) {
        return std::pair(a.dia, a.hora) < std::pair(b.dia, b.hora);
      });
      escuela_.ocupaciones.insert(escuela_.ocupaciones.end(), suyas.begin(), suyas.end());
      escuela_.profesores[profesor].horasLectivas = carga_[profesor];
    }
  }

  // ---- What real folders carry besides.

  // Students who left last year and one whose group was typed half: without a group code of two characters.
  void AlumnosSinGrupo() {
    std::size_t paso = grande_ ? 397 : 23;
    for (std::size_t i = 4; i < escuela_.alumnos.size(); i += paso) {
      Alumno& alumno = escuela_.alumnos[i];
      if ((i / paso) % 2 == 0) {
        alumno.codgrup.clear();
        alumno.baja = {kCursoAcademico, 6, 20};
      } else {
        alumno.codgrup.resize(1);
      }
    }
  }

  // Records deleted in ESCOLAN and still in the files: mistaken copies, a subject and a room that are no
  // more, a group of an earlier year, a period moved.
  void RegistrosBorrados() {
    Asignatura errata{"1ESOMT", "MT", "MT", "Matemáticas", "Matemàtiques", "4", false, 'C', true};
    escuela_.asignaturas.insert(escuela_.asignaturas.begin() + 2, errata);
    escuela_.aulas.insert(escuela_.aulas.begin() + 3, Aula{"PREF1", "Aula prefabricada 1", 25, 0, true});
    escuela_.grupos.push_back({"4ESOD", 'M', "4t ESO D", "4ESO", "A104", std::nullopt, 0, true});
    Profesor copia = escuela_.profesores[1];
    copia.dni = NuevoDni();
    copia.borrado = true;
    escuela_.profesores.push_back(copia);
    CopiasBorradas(escuela_.alumnos, grande_ ? 10 : 2, [](Alumno&) {});
    CopiasBorradas(escuela_.clases, grande_ ? 12 : 2, [this](Clase& clase) {
      clase.hora = clase.hora % kPeriodosPorTurno + 1;
      std::tie(clase.desde, clase.hasta) = horario_.at(clase.hora);
    });
    CopiasBorradas(escuela_.ocupaciones, grande_ ? 6 : 1, [](Ocupacion& ocupacion) { ocupacion.ocupa = 'R'; });
    Periodo movido{kCodigoCentro, "01", 8, "14:55", "15:50", true, true};
    escuela_.periodos.insert(
        escuela_.periodos.begin() + static_cast<std::ptrdiff_t>(std::size(kPeriodosDelOtroCentro)) + 7, movido);
  }

  // Puts `cuantas` deleted copies of records, each changed by `cambio`, right after their originals.
  template <typename T, typename Cambio>
  void CopiasBorradas(std::vector<T>& registros, int cuantas, Cambio cambio) {
    for (int i = 0; i < cuantas; ++i) {
      auto donde = static_cast<std::size_t>(azar_.Entre(0, static_cast<int>(registros.size()) - 1));
      T copia = registros[donde];
      cambio(copia);
      copia.borrado = true;
      registros.insert(registros.begin() + static_cast<std::ptrdiff_t>(donde) + 1, std::move(copia));
    }
  }

  // Teachers on leave, without classes: some since last year, some until a date to come.
  void ProfesoresDeBaja() {
    std::vector<std::size_t> departamentos;
    for (std::size_t dep = 0; dep < plantilla_.size(); ++dep) {
      if (!plantilla_[dep].empty()) departamentos.push_back(dep);
    }
    for (int i = 0; i < (grande_ ? 8 : 2); ++i) {
      std::size_t profesor = NuevoProfesor(static_cast<Dep>(azar_.Uno(departamentos)));
      escuela_.profesores[profesor].baja =
          i % 2 == 0 ? Fecha{kCursoAcademico, 6, 30} : Fecha{kCursoAcademico + 1, 1, 16};
    }
  }

  // In the small school two teachers at work lack their identity number: one holds 0, one nothing.
  void ProfesoresSinDni() {
    std::vector<Dni> nuevos = {0u, std::nullopt};
    for (Profesor& profesor : escuela_.profesores) {
      if (nuevos.empty()) return;
      if (profesor.borrado || !profesor.baja.IsEmpty() || profesor.horasLectivas == 0) continue;
      CambiarDni(profesor.dni, nuevos.front());
      profesor.dni = nuevos.front();
      nuevos.erase(nuevos.begin());
    }
  }

  void CambiarDni(Dni antes, Dni despues) {
    for (Clase& clase : escuela_.clases) {
      if (clase.dni == antes) clase.dni = despues;
    }
    for (Ocupacion& ocupacion : escuela_.ocupaciones) {
      if (ocupacion.dni == antes) ocupacion.dni = despues;
    }
    for (Grupo& grupo : escuela_.grupos) {
      if (grupo.tutor == antes) grupo.tutor = despues;
    }
  }

  bool grande_;
  std::vector<Nivel> niveles_;
  Azar azar_;
  Escuela escuela_;
  std::vector<GrupoDeNivel> grupos_;
  std::map<int, std::pair<std::string, std::string>> horario_;  // the centre's periods: start and end
  std::array<std::vector<std::size_t>, kNumDepartamentos> plantilla_;  // each department's teachers
  std::vector<int> carga_;                    // each teacher's weekly hours
  std::set<std::uint32_t> dnis_;               // the identity numbers given
  std::vector<std::size_t> profesorDeClase_;  // the teacher of each row of escuela_.clases
  std::set<std::string> catalogo_;            // the subject codes of asignat
  std::uint32_t siguienteCodigo_ = 23416;     // the last student file number given
};

}  // namespace

Escuela InventarEscuela(TamanoMuestra tamano) { return Fabrica(tamano).Hacer(); }

}  // namespace muestra
