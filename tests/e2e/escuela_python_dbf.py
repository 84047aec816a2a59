"""A tiny ESCOLAN folder written by an independent dBase writer (python3-dbf): cp850 and cp1252 tables,
accents, an enrolment in a subject that does not exist, a student without a group, a duplicate group, two
centres."""
import os

import dbf


def write_table(folder, name, fields, rows, codepage="cp1252"):
    table = dbf.Table(os.path.join(folder, name), fields, dbf_type="db3", codepage=codepage)
    table.open(dbf.READ_WRITE)
    for row in rows:
        table.append(row)
    table.close()


def write_escolan(folder):
    """ESCOLAN's ten tables in `folder`, which must not exist yet."""
    os.makedirs(folder)
    write_table(folder, "asignat.dbf", "CODASIG C(8); VLITEASIG C(30); CLITEASIG C(30); HORSEMTE C(5); LITRESV C(3)", [
        ("1ESOMAT", "Matemàtiques", "Matemáticas", "04:00", "MAT"),
        ("1ESOLEN", "Valencià", "Lengua valenciana", "3", "LEN"),
        ("2BACFIS", "Física", "Física", "", "FIS"),
    ], codepage="cp850")
    write_table(folder, "profesor.dbf", "APENOMPROF C(40); DEPARTA C(30); DNI N(8,0); FBAJA D", [
        ("GARCIA PEREZ, ANA", "MATEMÁTICAS", 12345678, None),
        ("GALLEGO RUIZ, LUIS", "FÍSICA", 23456789, None),
        ("LOPEZ MARTI, EVA", "LENGUA", 34567890, dbf.Date(2020, 1, 1)),
    ])
    write_table(folder, "aulas.dbf", "CODAULA C(6); LITAULA C(30)", [("A12", "Aula 12"), ("LABFQ1", "Laboratorio")])
    write_table(folder, "alumnos.dbf", "APENOM C(45); CODIGO C(10); CODGRUP C(5); REPITE N(1,0)", [
        ("PÉREZ GIL, MARTA", "1001", "1ESOA", 1),
        ("ROS LLORCA, JOAN", "1002", "2BA", 0),
        ("SIN GRUPO, ANA", "1003", "X", 0),
    ])
    write_table(folder, "asigalum.dbf", "CODIGO C(10); CODASIG C(8)", [
        ("1001", "1ESOMAT"), ("1002", "2BACFIS"), ("1001", "9NOEXIS"), ("1001", "1ESOLEN"), ("1003", "1ESOMAT"),
    ])
    write_table(folder, "grupos.dbf", "CODGRUP C(5); TURNO C(1)",
                [("1ESOA", "M"), ("1ESOB", "M"), ("1ESOA", "M"), ("2BA", "T")])
    write_table(folder, "horgrup.dbf", "CODGRUP C(5); CODASIG C(8); DNI N(9,0); DIASEM N(2,0); NUMHORA N(2,0); "
                "HORDIADES C(5); HORDIAHAS C(5); CODCEN N(10,0); AULA C(5)", [
        ("1ESOA", "1ESOMAT", 12345678, 1, 1, "", "", 46010001, "X"),
        ("1ESOA", "1ESOMAT", 12345678, 2, 1, "", "", 46010001, "X"),
        ("1ESOB", " 1ESOLEN", 23456789, 1, 2, "", "", 46010001, "X"),
        ("2BA", "2BACFIS", 99999999, 3, 3, "", "", 46019999, "X"),
    ])
    write_table(folder, "horprof.dbf", "DIASEM N(2,0); NUMHORA N(2,0); HORAD C(5); HORAH C(5); OCUPA C(5); "
                "CODCEN N(10,0); DNI N(9,0); NOTA C(10)", [(1, 1, "08:00", "08:55", "A1", 46019999, 1, "vieja")])
    write_table(folder, "centro.dbf", "CODCEN N(10,0); LITCEN C(45)", [(46010001, "IES DE PRUEBA")])
    write_table(folder, "lhortipo.dbf", "CODCEN N(10,0); NUMHORA N(2,0); DESDE C(5); HASTA C(5)", [
        (46010001, 1, "08:00", "08:55"), (46010001, 2, "08:55", "09:50"), (46019999, 1, "09:00", "09:55"),
        (46010001, 3, "10:20", "11:15"),
    ])
